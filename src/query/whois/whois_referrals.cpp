#include "query/whois/whois_referrals.h"

#include <algorithm>

#include "net/url_syntax.h"
#include "platform/ascii_text.h"
#include "query/host_names.h"

namespace hostlore {

namespace {

struct Field {
    std::string_view key;
    std::string_view value;
};

// Takes the first line off `rest`: without its line feed, its carriage return
// and the blanks at either end.
std::string_view TakeLine(std::string_view& rest) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return TrimBlanks(line);
}

// Each line of a reply that holds "key: value", both trimmed.
template <class Visit>
void ForEachField(std::string_view reply, Visit visit) {
    while (!reply.empty()) {
        const std::string_view line = TakeLine(reply);
        if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            visit(Field{TrimBlanks(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1))});
        }
    }
}

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

// "host" or "host:port", as a server; none for anything else.
std::optional<WhoisServerAddress> ServerFrom(std::string_view text) {
    if (!text.empty() && text.back() == '/') {
        text.remove_suffix(1);
    }
    WhoisServerAddress server;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        const auto port = ParsePort(text.substr(colon + 1));
        if (!port) {
            return std::nullopt;
        }
        server.port = *port;
        text = text.substr(0, colon);
    }
    while (!text.empty() && text.back() == '.') {
        text.remove_suffix(1);
    }
    if (text.empty() || text.front() == '.' || text.front() == '-' ||
        !std::all_of(text.begin(), text.end(), IsHostCharacter)) {
        return std::nullopt;
    }
    server.host = AsciiLowerCase(text);
    return server;
}

// A referral value: a bare host, or a whois:// URL; other schemes lead
// elsewhere than port 43.
std::optional<WhoisServerAddress> ReferralValue(std::string_view value) {
    constexpr std::string_view kWhoisScheme = "whois://";
    if (value.size() >= kWhoisScheme.size() &&
        EqualsIgnoringCase(value.substr(0, kWhoisScheme.size()), kWhoisScheme)) {
        return ServerFrom(value.substr(kWhoisScheme.size()));
    }
    if (value.find("://") != std::string_view::npos) {
        return std::nullopt;
    }
    return ServerFrom(value);
}

std::optional<WhoisServerAddress> FirstValueOf(std::string_view reply, std::string_view key) {
    std::optional<WhoisServerAddress> found;
    ForEachField(reply, [&](const Field& field) {
        if (!found && EqualsIgnoringCase(field.key, key)) {
            found = ServerFrom(field.value);
        }
    });
    return found;
}

}  // namespace

std::string WhoisServerName(const WhoisServerAddress& server) {
    return server.port == 43 ? server.host : server.host + ":" + std::to_string(server.port);
}

std::vector<WhoisServerAddress> ReferralsIn(std::string_view reply) {
    std::vector<WhoisServerAddress> servers;
    ForEachField(reply, [&](const Field& field) {
        if (EqualsIgnoringCase(field.key, "Registrar WHOIS Server") ||
            EqualsIgnoringCase(field.key, "ReferralServer") ||
            EqualsIgnoringCase(field.key, "refer")) {
            if (auto server = ReferralValue(field.value)) {
                servers.push_back(std::move(*server));
            }
        }
    });
    return servers;
}

std::optional<WhoisServerAddress> IanaRegistryServer(std::string_view reply) {
    return FirstValueOf(reply, "whois");
}

bool IsWholeIanaAnswer(std::string_view reply, std::string_view topLevel) {
    bool named = false;
    bool ended = false;
    ForEachField(reply, [&](const Field& field) {
        if (EqualsIgnoringCase(field.key, "domain")) {
            // An international domain may be named in either form.
            const auto name = NetworkHostName(field.value);
            named = name && EqualsIgnoringCase(*name, topLevel);
        } else if (named && EqualsIgnoringCase(field.key, "source")) {
            ended = true;
        }
    });
    return named && ended;
}

std::optional<WhoisServerAddress> IanaAddressRegistry(std::string_view reply) {
    return FirstValueOf(reply, "refer");
}

bool IsRdapNotice(std::string_view reply) {
    int linesWithText = 0;
    bool mentionsRdap = false;
    bool namesDomain = false;
    while (!reply.empty()) {
        const std::string_view line = TakeLine(reply);
        if (line.empty()) {
            continue;
        }
        ++linesWithText;
        for (std::size_t i = 0; i + 4 <= line.size() && !mentionsRdap; ++i) {
            mentionsRdap = EqualsIgnoringCase(line.substr(i, 4), "rdap");
        }
        constexpr std::string_view kDomainName = "Domain Name:";
        namesDomain =
            namesDomain || (line.size() >= kDomainName.size() &&
                            EqualsIgnoringCase(line.substr(0, kDomainName.size()), kDomainName));
    }
    return linesWithText > 0 && linesWithText < 10 && mentionsRdap && !namesDomain;
}

}  // namespace hostlore
