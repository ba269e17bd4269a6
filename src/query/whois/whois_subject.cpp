#include "query/whois/whois_subject.h"

#include "net/url_syntax.h"
#include "platform/ascii_text.h"
#include "platform/text_trim.h"
#include "query/url_parts.h"

namespace hostlore {

bool IsAutomaticWhoisServer(const WhoisServerAddress& server) {
    std::string_view host = TrimControls(server.host);
    if (!host.empty() && host.back() == '.') {
        host.remove_suffix(1);
    }
    return server.port == 43 && EqualsIgnoringCase(host, kIanaWhoisServer);
}

WhoisSubject AutomaticSubject(std::string_view host, const PublicSuffixList& suffixes) {
    host = WithoutBrackets(TrimControls(host));
    if (!host.empty() && host.back() == '.') {
        host.remove_suffix(1);
    }
    WhoisSubject subject;
    const std::string name = AsciiLowerCase(host);
    if (IsIpAddress(name)) {
        subject.query = name;
        subject.isAddress = true;
        return subject;
    }
    subject.query = name.empty() ? name : suffixes.RegistrableDomain(name);
    subject.topLevel = subject.query.substr(subject.query.rfind('.') + 1);
    return subject;
}

WhoisSubject NamedServerSubject(std::string_view host) {
    WhoisSubject subject;
    subject.query = std::string(TrimControls(DomainPart(host)));
    return subject;
}

}  // namespace hostlore
