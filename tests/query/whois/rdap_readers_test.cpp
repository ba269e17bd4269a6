#include <gtest/gtest.h>

#include "query/whois/rdap_bootstrap.h"
#include "query/whois/rdap_domain.h"

namespace hostlore {
namespace {

TEST(RdapBootstrap, TheServerOfTheLongestListedSuffix) {
    const auto bootstrap = RdapBootstrap::Parse(R"({"version": "1.0", "services": [
        [["test", "example"], ["http://rdap.plain.test/", "https://rdap.nic.test/v1"]],
        [["co.test"], ["https://rdap.co.test/"]],
        [["ftp"], ["ftp://rdap.ftp.test/"]],
        [["plain"], ["http://rdap.plain.test/rdap/"]]]})");
    ASSERT_TRUE(bootstrap);
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"example.test", "https://rdap.nic.test/v1/"},
        {"shop.co.test", "https://rdap.co.test/"},
        {"EXAMPLE.Example", "https://rdap.nic.test/v1/"},
        {"example.plain", "http://rdap.plain.test/rdap/"},
        {"example.ftp", std::nullopt},
        {"example.untest", std::nullopt},
        {"example.com", std::nullopt},
    };
    for (const auto& [domain, base] : cases) {
        EXPECT_EQ(bootstrap->BaseUrlFor(domain), base) << domain;
    }
    for (const char* notBootstrap : {"", "[]", "{\"services\": 3}", "{\"version\": \"1.0\""}) {
        EXPECT_FALSE(RdapBootstrap::Parse(notBootstrap)) << notBootstrap;
    }
}

constexpr const char* kRegistryObject = R"({
  "objectClassName": "domain", "ldhName": "EXAMPLE.TEST",
  "entities": [
    {"roles": ["registrar"], "vcardArray": ["vcard", [["version", {}, "text", "4.0"],
        ["fn", {}, "text", "Example Registrar, Inc."]]],
     "entities": [{"roles": ["abuse"], "vcardArray": ["vcard", [["fn", {}, "text", "Abuse"]]]}]},
    {"roles": ["registrant"], "vcardArray": ["vcard", [["fn", {}, "text", "J. Doe"],
        ["org", {}, "text", "Example Shop Ltd"],
        ["adr", {"cc": "GB"}, "text", ["", "", "1 Road", "Town", "", "AB1", "United Kingdom"]]]]}],
  "events": [{"eventAction": "registration", "eventDate": "1995-08-14T04:00:00Z"},
             {"eventAction": "expiration", "eventDate": "2030-08-13T04:00:00Z"},
             {"eventAction": "last changed", "eventDate": "2024-08-14T07:01:34Z"},
             {"eventAction": "last update of RDAP database", "eventDate": "2025-01-01T00:00:00Z"}],
  "status": ["client delete prohibited", "client transfer\nprohibited"],
  "nameservers": [{"ldhName": "A.NS.TEST"}, {"unicodeName": "b.ns.test"}],
  "links": [{"rel": "self", "href": "https://rdap.nic.test/domain/EXAMPLE.TEST"},
            {"rel": "related", "type": "application/rdap+json",
             "href": "https://rdap.registrar.test/domain/EXAMPLE.TEST"}]})";

TEST(RdapDomainLines, ReadLikeAWhoisRecord) {
    EXPECT_EQ(RdapDomainLines(kRegistryObject),
              (std::vector<std::string>{
                  "Domain Name: EXAMPLE.TEST", "Registrar: Example Registrar, Inc.",
                  "Registered: 1995-08-14T04:00:00Z", "Expires: 2030-08-13T04:00:00Z",
                  "Updated: 2024-08-14T07:01:34Z", "Status: client delete prohibited",
                  "Status: client transfer prohibited", "Name Server: A.NS.TEST",
                  "Name Server: b.ns.test", "Registrant Organization: Example Shop Ltd",
                  "Registrant Country: United Kingdom"}));
}

TEST(RdapDomainLines, WhatIsNotPublicOrNotARecord) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {R"({"ldhName": "a.test", "entities": [{"roles": ["registrant"], "vcardArray":
            ["vcard", [["org", {}, "text", ""], ["adr", {"cc": "DE"}, "text",
            ["", "", "", "", "", "", ""]]]]}]})",
         {"Domain Name: a.test", "Registrant Country: DE"}},
        {R"({"errorCode": 404, "title": "Not Found", "description": ["No such domain."]})",
         {"Error: 404 Not Found", "Description: No such domain."}},
        {"[1, 2]", {}},
        {"not json", {}},
    };
    for (const auto& [json, lines] : cases) {
        EXPECT_EQ(RdapDomainLines(json), lines) << json;
    }
}

TEST(RdapRelatedLink, TheRegistrarsRecordOnly) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {kRegistryObject, "https://rdap.registrar.test/domain/EXAMPLE.TEST"},
        {R"({"links": [{"rel": "related", "href": "http://r.test/domain/a.test"}]})",
         "http://r.test/domain/a.test"},
        {R"({"links": [{"rel": "related", "type": "text/html", "href": "https://r.test/"}]})",
         std::nullopt},
        {R"({"links": [{"rel": "related", "href": "ftp://r.test/domain/a.test"}]})", std::nullopt},
        {R"({"links": [{"rel": "self", "href": "https://r.test/domain/a.test"}]})", std::nullopt},
    };
    for (const auto& [json, link] : cases) {
        EXPECT_EQ(RdapRelatedLink(json), link) << json;
    }
}

}  // namespace
}  // namespace hostlore
