#include "query/whois/whois_subject.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(IsAutomaticWhoisServer, IanasServerInAnySpelling) {
    const std::pair<WhoisServerAddress, bool> cases[] = {
        {{"whois.iana.org"}, true},
        {{"WHOIS.IANA.ORG"}, true},
        {{" whois.iana.org."}, true},
        {{"whois.iana.org", 4343}, false},
        {{"whois.iana.org.example"}, false},
        {{"whois.ripe.net"}, false},
        {{""}, false},
    };
    for (const auto& [server, automatic] : cases) {
        EXPECT_EQ(IsAutomaticWhoisServer(server), automatic) << server.host;
    }
}

TEST(AutomaticSubject, SendsTheRegisteredNameOrTheWholeAddress) {
    const auto suffixes = PublicSuffixList::Packaged();
    struct Case {
        const char* host;
        WhoisSubject subject;
    };
    const Case cases[] = {
        {"www.bbc.co.uk", {"bbc.co.uk", false, "uk"}},
        {"WWW.Example.COM.", {"example.com", false, "com"}},
        {" a.b.example.org\t", {"example.org", false, "org"}},
        {"co.uk", {"co.uk", false, "uk"}},
        {"localhost", {"localhost", false, "localhost"}},
        {"203.0.113.10", {"203.0.113.10", true, ""}},
        {"[2001:DB8::1]", {"2001:db8::1", true, ""}},
        {"", {"", false, ""}},
    };
    for (const auto& [host, subject] : cases) {
        EXPECT_EQ(AutomaticSubject(host, *suffixes), subject) << host;
    }
}

TEST(NamedServerSubject, KeepsTheLastTwoLabelsOrNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"www.bbc.co.uk", "co.uk"},
        {"203.0.113.10", "113.10"},
        {"example.com", "example.com"},
        {" www.example.com ", "example.com"},
    };
    for (const auto& [host, query] : cases) {
        EXPECT_EQ(NamedServerSubject(host), (WhoisSubject{query, false, ""})) << host;
    }
}

}  // namespace
}  // namespace hostlore
