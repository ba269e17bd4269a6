#include "query/dns_records/dns_record_text.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

using Cells = std::array<std::string, 4>;

DnsRecordRow Row(const char* name, const char* type, DnsValue value) {
    return {name, type, 300, std::move(value), {}};
}

TEST(DnsRowCells, ShowsEachValueAsPlainTextOnOneRow) {
    const struct {
        DnsRecordRow row;
        Cells cells;
    } cases[] = {
        {Row("host.example", "AAAA", AddressData{"2001:db8::80"}),
         {"host.example", "AAAA", "300", "2001:db8::80"}},
        {Row("xn--bcher-kva.example", "CNAME", NameData{"xn--r8jz45g.xn--zckzah"}),
         {"bücher.example (xn--bcher-kva.example)", "CNAME", "300",
          "例え.テスト (xn--r8jz45g.xn--zckzah)"}},
        {Row("example", "SOA",
             SoaData{"ns1.example", "john.doe@example", 2024010101, 7200, 900, 1209600, 300}),
         {"example", "SOA", "300",
          "primary server ns1.example, contact john.doe@example, serial 2024010101, refresh "
          "7200, retry 900, expire 1209600, minimum 300"}},
        {Row("example", "MX", MxData{10, "mx1.example"}),
         {"example", "MX", "300", "10 mx1.example"}},
        {Row("example", "CAA", CaaData{128, "issue", "ca.example; account=1"}),
         {"example", "CAA", "300", "128 issue \"ca.example; account=1\""}},
        {Row("example", "TXT", TxtData{{"v=spf1 mx -all"}}),
         {"example", "TXT (SPF)", "300", "\"v=spf1 mx -all\""}},
        {Row("example", "TXT", TxtData{{"V=SPF1"}}), {"example", "TXT (SPF)", "300", "\"V=SPF1\""}},
        {Row("example", "TXT", TxtData{{"v=spf1 ", "ip4:192.0.2.0/24 -all"}}),
         {"example", "TXT (SPF)", "300", "\"v=spf1 \" \"ip4:192.0.2.0/24 -all\""}},
        {Row("example", "TXT", TxtData{{"v=spf10"}}), {"example", "TXT", "300", "\"v=spf10\""}},
        {Row("example", "TXT", TxtData{{"say \"hi\" \\ \x1b]0;title\x07", "", "é"}}),
         {"example", "TXT", "300", "\"say \\\"hi\\\" \\\\ \\027]0;title\\007\" \"\" \"é\""}},
        {Row("example", "TXT", TxtData{{"next\xc2\x85line", "\xff\xfe"}}),
         {"example", "TXT", "300", "\"next\\194\\133line\" \"\\255\\254\""}},
        {{"example", "MX", std::nullopt, std::nullopt, "Time-out."},
         {"example", "MX", "", "Time-out."}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DnsRowCells(c.row), c.cells) << c.cells[3];
    }
}

TEST(DnssecCells, NamesTheStateWithItsReason) {
    const struct {
        DnssecLine line;
        const char* shown;
    } cases[] = {
        {{"example", DnssecState::Valid, ""}, "signed and valid"},
        {{"example", DnssecState::Bogus, "signature expired"},
         "signed, but the signatures do not validate: signature expired"},
        {{"example", DnssecState::NotSigned, ""}, "not signed"},
        {{"example", DnssecState::NotChecked, "Time-out."}, "could not be checked: Time-out."},
        {{"example", DnssecState::Pending, ""}, "not known yet"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DnssecCells(c.line), (Cells{"example", "DNSSEC", "", c.shown}));
    }
}

}  // namespace
}  // namespace hostlore
