// What a whois chain reads in other servers' answers: referrals and the
// record's values in a whois reply, an RDAP domain object, and the RDAP
// bootstrap file (with a domain to find a server for on its first line). The
// first byte picks the reader.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "query/whois/rdap_bootstrap.h"
#include "query/whois/rdap_domain.h"
#include "query/whois/whois_fields.h"
#include "query/whois/whois_referrals.h"

namespace {

using namespace hostlore;

bool IsWebUrl(std::string_view url) {
    return url.starts_with("https://") || url.starts_with("http://");
}

void CheckServer(const WhoisServerAddress& server) {
    fuzz::Require(!server.host.empty() &&
                      server.host.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-") ==
                          std::string::npos,
                  "a referral names a host in lower case");
    fuzz::Require(server.port >= 1 && server.port <= 65535, "a referral's port is a port");
}

void CheckFields(const WhoisFields& fields) {
    for (const std::string& server : fields.nameServers) {
        fuzz::Require(!server.empty() && !server.ends_with('.') &&
                          std::none_of(server.begin(), server.end(),
                                       [](char c) { return c >= 'A' && c <= 'Z'; }),
                      "a name server is named in lower case without a final dot");
    }
    for (const std::string& status : fields.statuses) {
        fuzz::Require(!status.empty(), "a status says something");
    }
    fuzz::Require(!fields.registrar || !fields.registrar->empty(), "a registrar has a name");
}

void ReadWhoisReply(std::string_view reply) {
    CheckFields(WhoisTextFields(reply));
    IsRateRefusal(reply);
    for (const auto& server : ReferralsIn(reply)) {
        CheckServer(server);
    }
    if (const auto registry = IanaRegistryServer(reply)) {
        CheckServer(*registry);
    }
    if (const auto registry = IanaAddressRegistry(reply)) {
        CheckServer(*registry);
    }
    IsRdapNotice(reply);
}

void ReadRdapObject(std::string_view json) {
    for (const auto& line : RdapDomainLines(json)) {
        fuzz::Require(
            std::none_of(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }),
            "an RDAP value stays on its line");
        fuzz::Require(line.find(": ") != std::string::npos, "each line has a caption");
    }
    CheckFields(RdapDomainFields(json));
    if (const auto link = RdapRelatedLink(json)) {
        fuzz::Require(IsWebUrl(*link), "a related link is a web address");
    }
}

void ReadBootstrap(fuzz::FuzzInput& input) {
    const std::string domain = input.TakeLine();
    if (const auto bootstrap = RdapBootstrap::Parse(input.Rest())) {
        if (const auto base = bootstrap->BaseUrlFor(domain)) {
            fuzz::Require(IsWebUrl(*base) && base->ends_with('/'),
                          "a base URL is a web address ending in a slash");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    switch (input.TakeByte() % 3) {
        case 0:
            ReadWhoisReply(input.Rest());
            break;
        case 1:
            ReadRdapObject(input.Rest());
            break;
        default:
            ReadBootstrap(input);
            break;
    }
    return 0;
}
