#include "query/whois/whois_fields.h"

#include <gtest/gtest.h>

#include "query/whois/rdap_domain.h"

namespace hostlore {
namespace {

constexpr std::int64_t kDay = 86'400;
// 2001-02-03 and 2031-02-03, 00:00 UTC.
constexpr std::int64_t k2001 = 981158400;
constexpr std::int64_t k2031 = 1927843200;

WhoisFields Fields(std::optional<std::string> registrar, std::optional<std::int64_t> created,
                   std::optional<std::int64_t> updated, std::optional<std::int64_t> expires,
                   std::vector<std::string> nameServers, std::vector<std::string> statuses,
                   std::optional<bool> dnssec) {
    return {std::move(registrar), created, updated, expires, std::move(nameServers),
            std::move(statuses),  dnssec};
}

TEST(WhoisTextFields, ReadsEachRegistryStyle) {
    const struct {
        const char* style;
        const char* reply;
        WhoisFields fields;
    } cases[] = {
        {"gTLD thick registry",
         "   Domain Name: EXAMPLE.COM\r\n   Registrar WHOIS Server: whois.registrar.test\r\n"
         "   Updated Date: 2024-01-01T00:00:00Z\r\n   Creation Date: 2001-02-03T04:05:06Z\r\n"
         "   Registry Expiry Date: 2031-02-03T00:00:00.0Z\r\n   Registrar: Test Registrar, Inc.\r\n"
         "   Domain Status: clientTransferProhibited "
         "https://icann.org/epp#clientTransferProhibited\r\n"
         "   Domain Status: serverDeleteProhibited https://icann.org/epp#serverDeleteProhibited\r\n"
         "   Name Server: NS1.EXAMPLE.COM\r\n   Name Server: ns2.example.com.\r\n"
         "   DNSSEC: unsigned\r\n"
         ">>> Last update of whois database: 2025-06-01T00:00:00Z <<<\r\n",
         Fields("Test Registrar, Inc.", k2001 + 14706, 1704067200, k2031,
                {"ns1.example.com", "ns2.example.com"},
                {"clientTransferProhibited", "serverDeleteProhibited"}, false)},
        {"gTLD registrar",
         "Domain Name: example.com\nRegistrar: Test Registrar\n"
         "Registrar Registration Expiration Date: 2031-02-03T00:00:00+00:00\n"
         "Domain Status: ok https://icann.org/epp#ok\nDNSSEC: signedDelegation\n",
         Fields("Test Registrar", {}, {}, k2031, {}, {"ok"}, true)},
        {"thin registry, registrar first",
         "Registrar: A\nRegistrar: B\nCreation Date: 2001-02-03T01:00:00+01:00\n",
         Fields("A", k2001, {}, {}, {}, {}, {})},
        {".uk, values indented below their keys",
         "    Domain name:\r\n        example.co.uk\r\n\r\n    Registrar:\r\n"
         "        Test Registrar Ltd [Tag = TEST]\r\n        URL: https://registrar.test\r\n\r\n"
         "    Relevant dates:\r\n        Registered on: 03-Feb-2001\r\n"
         "        Expiry date:  03-Feb-2031\r\n        Last updated:  01-Jan-2024\r\n\r\n"
         "    Registration status:\r\n        Registered until expiry date.\r\n\r\n"
         "    Name servers:\r\n        ns1.example.co.uk\r\n        ns2.example.co.uk  "
         "192.0.2.53\r\n"
         "\r\n    DNSSEC:\r\n        Signed\r\n",
         Fields("Test Registrar Ltd [Tag = TEST]", k2001, 1704067200, k2031,
                {"ns1.example.co.uk", "ns2.example.co.uk"}, {"Registered until expiry date."},
                true)},
        {".de",
         "Domain: example.de\nNserver: ns1.example.de\nNserver: ns2.example.de\nStatus: connect\n"
         "Changed: 2024-01-01T01:00:00+01:00\n",
         Fields({}, {}, 1704067200, {}, {"ns1.example.de", "ns2.example.de"}, {"connect"}, {})},
        {".fr, the domain's block before its contacts'",
         "domain:      example.fr\nstatus:      ACTIVE\nregistrar:   TEST REGISTRAR\n"
         "Expiry Date: 2031-02-03T00:00:00Z\ncreated:     2001-02-03T00:00:00Z\n"
         "last-update: 2024-01-01T00:00:00Z\n\nnserver:     ns1.example.fr\n\n"
         "nic-hdl:     TEST1-FRNIC\nchanged:     2010-05-05T00:00:00Z\n",
         Fields("TEST REGISTRAR", k2001, 1704067200, k2031, {"ns1.example.fr"}, {"ACTIVE"}, {})},
        {".nl",
         "Domain name: example.nl\nStatus:      active\n\nRegistrar:\n   Test Registrar B.V.\n"
         "   Street 1\n\nDNSSEC:      yes\n\nDomain nameservers:\n   ns1.example.nl\n"
         "   ns2.example.nl\n\nCreation Date: 2001-02-03\n\nUpdated Date: 2024-01-01\n",
         Fields("Test Registrar B.V.", k2001, 1704067200, {}, {"ns1.example.nl", "ns2.example.nl"},
                {"active"}, true)},
        {".jp",
         "[Domain Name]                   EXAMPLE.JP\n[Name Server]                   "
         "ns1.example.jp\n"
         "[登録年月日]                    2001/02/03\n[有効期限]                      2031/02/03\n"
         "[状態]                          Active\n"
         "[最終更新]                      2024/01/01 09:00:00 (JST)\n",
         Fields({}, k2001, 1704067200, k2031, {"ns1.example.jp"}, {"Active"}, {})},
        {".br",
         "domain:      example.com.br\nnserver:     a.dns.br\ncreated:     20010203 #12345\n"
         "changed:     20240101\nexpires:     20310203\nstatus:      published\n",
         Fields({}, k2001, 1704067200, k2031, {"a.dns.br"}, {"published"}, {})},
        {"RIPE, APNIC and AFRINIC addresses",
         "% This is the RIPE Database query service.\n\ninetnum:        203.0.113.0 - "
         "203.0.113.255\n"
         "netname:        TEST-NET-3\nstatus:         ASSIGNED PA\n"
         "created:        2001-02-03T00:00:00Z\nlast-modified:  2024-01-01T00:00:00Z\n\n"
         "route:          203.0.113.0/24\ncreated:        2010-05-05T00:00:00Z\n",
         Fields({}, k2001, 1704067200, {}, {}, {"ASSIGNED PA"}, {})},
        {"ARIN addresses",
         "NetRange:       198.51.100.0 - 198.51.100.255\nNetType:        Direct Allocation\n"
         "RegDate:        2001-02-03\nUpdated:        2024-01-01\n\nOrgName:        Test\n"
         "RegDate:        1990-01-01\n",
         Fields({}, k2001, 1704067200, {}, {}, {"Direct Allocation"}, {})},
        {"LACNIC addresses",
         "inetnum:     200.0.0.0/16\nstatus:      allocated\ncreated:     20010203\n"
         "changed:     20240101\n",
         Fields({}, k2001, 1704067200, {}, {}, {"allocated"}, {})},
        {"free text and comments only",
         "% No entries found.\n# comment: 2001-02-03\nNo match for \"EXAMPLE.TEST\".\n",
         Fields({}, {}, {}, {}, {}, {}, {})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WhoisTextFields(c.reply), c.fields) << c.style;
    }
}

TEST(WhoisDateSeconds, TheFormsRegistriesWrite) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"2001-02-03T00:00:00Z", k2001},
        {"2001-02-03T04:05:06.789Z", k2001 + 14706},
        {"2001-02-03T05:00:00+05:00", k2001},
        {"2001-02-02T19:00:00-0500", k2001},
        {"2001-02-03 00:00:00", k2001},
        {"2001-02-03", k2001},
        {"2001/02/03 09:00:00 (JST)", k2001},
        {"03-Feb-2001", k2001},
        {"03-feb-2001", k2001},
        {"20010203", k2001},
        {"20010204 #99", k2001 + kDay},
        {"2001-02-30", std::nullopt},
        {"before Aug-1996", std::nullopt},
        {"2001-02-03T04:05:06 Berlin", std::nullopt},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(WhoisDateSeconds(text), seconds) << text;
    }
}

TEST(AddMissingFields, TheFirstServerThatGivesAValueCounts) {
    WhoisFields record = Fields("Registry's", {}, 5, {}, {"ns1"}, {}, {});
    AddMissingFields(record, Fields("Registrar's", 1, 6, 7, {"ns2"}, {"ok"}, true));
    EXPECT_EQ(record, Fields("Registry's", 1, 5, 7, {"ns1"}, {"ok"}, true));
}

TEST(IsRateRefusal, AShortRefusalForBeingAskedTooOftenOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS\r\n", true},
        {"%ERROR:201: access denied\n% Query rate limit exceeded\n", true},
        {"Domain Name: LIMIT.TEST\nRegistrar: Limit Inc.\n", false},
        {"No match for domain \"EXAMPLE.TEST\".\n", false},
    };
    for (const auto& [reply, refusal] : cases) {
        EXPECT_EQ(IsRateRefusal(reply), refusal) << reply;
    }
}

TEST(RdapDomainFields, TheRecordsValues) {
    const std::pair<const char*, WhoisFields> cases[] = {
        {R"({"objectClassName": "domain", "ldhName": "EXAMPLE.TEST",
             "entities": [{"roles": ["registrar"], "vcardArray": ["vcard",
                 [["version", {}, "text", "4.0"], ["fn", {}, "text", "Example Registrar"]]]}],
             "events": [{"eventAction": "registration", "eventDate": "2001-02-03T00:00:00Z"},
                        {"eventAction": "expiration", "eventDate": "2031-02-03T00:00:00Z"},
                        {"eventAction": "last changed", "eventDate": "2024-01-01T00:00:00Z"}],
             "status": ["active", "client transfer prohibited"],
             "nameservers": [{"ldhName": "A.NS.TEST"}, {"unicodeName": "b.ns.test"}],
             "secureDNS": {"delegationSigned": true}})",
         Fields("Example Registrar", k2001, 1704067200, k2031, {"a.ns.test", "b.ns.test"},
                {"active", "client transfer prohibited"}, true)},
        {R"({"objectClassName": "domain", "secureDNS": {"delegationSigned": false}})",
         Fields({}, {}, {}, {}, {}, {}, false)},
        {R"({"errorCode": 404, "title": "Not Found"})", Fields({}, {}, {}, {}, {}, {}, {})},
    };
    for (const auto& [json, fields] : cases) {
        EXPECT_EQ(RdapDomainFields(json), fields) << json;
    }
}

}  // namespace
}  // namespace hostlore
