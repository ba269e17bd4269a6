#include "query/dns_records/dns_record_rows.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

using Dnssec = DnsReply::Dnssec;
using Outcome = DnsReply::Outcome;

DnsRecord Record(const char* name, std::uint16_t type, DnsValue value) {
    return {name, type, 3600, std::move(value)};
}

DnsAnswer Answered(std::vector<DnsRecord> records, Dnssec dnssec = Dnssec::Secure, int rcode = 0) {
    DnsAnswer answer;
    answer.outcome = Outcome::Answered;
    answer.rcode = rcode;
    answer.records = std::move(records);
    answer.dnssec = dnssec;
    return answer;
}

DnsAnswer Bogus(const char* why) {
    DnsAnswer answer = Answered({}, Dnssec::Bogus);
    answer.whyBogus = why;
    return answer;
}

DnsAnswer Ended(Outcome outcome, const char* failure = "") {
    DnsAnswer answer;
    answer.outcome = outcome;
    answer.failure = failure;
    return answer;
}

DnsRecordRow Row(const char* name, const char* type, DnsValue value) {
    return {name, type, 3600, std::move(value), {}};
}

DnsRecordRow Missing(const char* name, const char* type, const char* reason) {
    return {name, type, std::nullopt, std::nullopt, reason};
}

struct Asked {
    DnsSlot slot;
    const char* name;
    std::uint16_t type;
    std::optional<DnsAnswer> answer;
};

// A table of the given questions only, so that each case sees its own rows.
DnsRecordsTable TableOf(const std::vector<Asked>& asked, const char* host = "www.signed.example",
                        const char* domain = "signed.example") {
    DnsRecordsPlan plan{host, domain, {}};
    std::vector<std::optional<DnsAnswer>> answers;
    for (const Asked& question : asked) {
        plan.questions.push_back({question.slot, question.name, question.type});
        answers.push_back(question.answer);
    }
    return DnsRecordsTableOf(plan, answers);
}

const DnsRecord kWwwAlias =
    Record("www.signed.example", dns_type::kCname, NameData{"web.signed.example"});
const DnsRecord kWebAlias =
    Record("WEB.signed.example", dns_type::kCname, NameData{"host.signed.example"});
const DnsRecord kDomainCaa =
    Record("signed.example", dns_type::kCaa, CaaData{0, "issue", "ca.example"});

TEST(DnsRecordsTableOf, MakesOneRowPerRecordOrOneThatSaysWhyThereIsNone) {
    using namespace dns_type;
    const struct {
        const char* what;
        std::vector<Asked> asked;
        std::vector<DnsRecordRow> rows;
    } cases[] = {
        {"the aliases lead the host's addresses, in the order they lead",
         {{DnsSlot::HostA, "www.signed.example", kA,
           Answered({Record("host.signed.example", kA, AddressData{"192.0.2.80"}), kWebAlias,
                     kWwwAlias})}},
         {Row("www.signed.example", "CNAME", NameData{"web.signed.example"}),
          Row("WEB.signed.example", "CNAME", NameData{"host.signed.example"}),
          Row("host.signed.example", "A", AddressData{"192.0.2.80"})}},
        {"an empty answer is none where the aliases lead",
         {{DnsSlot::HostAaaa, "www.signed.example", kAaaa, Answered({kWwwAlias, kWebAlias})}},
         {Missing("host.signed.example", "AAAA", "none")}},
        {"no such name is none too",
         {{DnsSlot::Soa, "signed.example", kSoa, Answered({}, Dnssec::Secure, 3)}},
         {Missing("signed.example", "SOA", "none")}},
        {"mail servers in preference order, then by name",
         {{DnsSlot::Mx, "signed.example", kMx,
           Answered({Record("signed.example", kMx, MxData{20, "mx3.signed.example"}),
                     Record("signed.example", kMx, MxData{100, "mx0.signed.example"}),
                     Record("signed.example", kMx, MxData{10, "mx1.signed.example"}),
                     Record("signed.example", kMx, MxData{20, "mx2.signed.example"})})}},
         {Row("signed.example", "MX", MxData{10, "mx1.signed.example"}),
          Row("signed.example", "MX", MxData{20, "mx2.signed.example"}),
          Row("signed.example", "MX", MxData{20, "mx3.signed.example"}),
          Row("signed.example", "MX", MxData{100, "mx0.signed.example"})}},
        {"other sets in one order, whatever order the server chose",
         {{DnsSlot::Txt, "signed.example", kTxt,
           Answered({Record("signed.example", kTxt, TxtData{{"v=spf1 -all"}}),
                     Record("signed.example", kTxt, TxtData{{"token", "b"}}),
                     Record("signed.example", kTxt, TxtData{{"token", "a"}})})}},
         {Row("signed.example", "TXT", TxtData{{"token", "a"}}),
          Row("signed.example", "TXT", TxtData{{"token", "b"}}),
          Row("signed.example", "TXT", TxtData{{"v=spf1 -all"}})}},
        {"a policy found through an alias",
         {{DnsSlot::Dmarc, "_dmarc.signed.example", kTxt,
           Answered({Record("_dmarc.signed.example", kCname, NameData{"_dmarc.mail.example"}),
                     Record("_dmarc.mail.example", kTxt, TxtData{{"v=DMARC1; p=none"}})})}},
         {Row("_dmarc.mail.example", "TXT", TxtData{{"v=DMARC1; p=none"}})}},
        {"only records of the type asked for",
         {{DnsSlot::Ns, "signed.example", kNs,
           Answered({Record("signed.example", kNs, NameData{"ns1.signed.example"}),
                     Record("ns1.signed.example", kA, AddressData{"127.0.0.1"})})}},
         {Row("signed.example", "NS", NameData{"ns1.signed.example"})}},
        {"server failure",
         {{DnsSlot::Txt, "signed.example", kTxt, Answered({}, Dnssec::Insecure, 2)}},
         {Missing("signed.example", "TXT", "Server failure.")}},
        {"refused",
         {{DnsSlot::Ns, "signed.example", kNs, Answered({}, Dnssec::Insecure, 5)}},
         {Missing("signed.example", "NS", "Refused.")}},
        {"other response codes",
         {{DnsSlot::Mx, "signed.example", kMx, Answered({}, Dnssec::Insecure, 4)},
          {DnsSlot::Txt, "signed.example", kTxt, Answered({}, Dnssec::Insecure, 9)}},
         {Missing("signed.example", "MX", "Not implemented."),
          Missing("signed.example", "TXT", "Response code 9.")}},
        {"time-out",
         {{DnsSlot::Caa, "signed.example", kCaa, Ended(Outcome::TimedOut)}},
         {Missing("signed.example", "CAA", "Time-out.")}},
        {"a question that could not be asked",
         {{DnsSlot::HostA, "www.signed.example", kA,
           Ended(Outcome::Failed, "The trust anchor /x cannot be read.")}},
         {Missing("www.signed.example", "A", "The trust anchor /x cannot be read.")}},
        {"an answer still outstanding",
         {{DnsSlot::Soa, "signed.example", kSoa, std::nullopt}},
         {Missing("signed.example", "SOA", "waiting for the answer")}},
        {"the host's own authorities where they differ from the domain's",
         {{DnsSlot::Caa, "signed.example", kCaa, Answered({kDomainCaa})},
          {DnsSlot::HostCaa, "www.signed.example", kCaa,
           Answered({kWwwAlias,
                     Record("web.signed.example", kCaa, CaaData{128, "issue", "other.example"})})}},
         {Row("signed.example", "CAA", CaaData{0, "issue", "ca.example"}),
          Row("web.signed.example", "CAA", CaaData{128, "issue", "other.example"})}},
        {"not where they are the domain's",
         {{DnsSlot::Caa, "signed.example", kCaa, Answered({kDomainCaa})},
          {DnsSlot::HostCaa, "www.signed.example", kCaa,
           Answered({Record("www.signed.example", kCaa, CaaData{0, "issue", "ca.example"})})}},
         {Row("signed.example", "CAA", CaaData{0, "issue", "ca.example"})}},
        {"nor where the host has none of its own",
         {{DnsSlot::Caa, "signed.example", kCaa, Answered({kDomainCaa})},
          {DnsSlot::HostCaa, "www.signed.example", kCaa, Answered({})}},
         {Row("signed.example", "CAA", CaaData{0, "issue", "ca.example"})}},
        {"but a failed look-up of them shows",
         {{DnsSlot::Caa, "signed.example", kCaa, Answered({kDomainCaa})},
          {DnsSlot::HostCaa, "www.signed.example", kCaa, Ended(Outcome::TimedOut)}},
         {Row("signed.example", "CAA", CaaData{0, "issue", "ca.example"}),
          Missing("www.signed.example", "CAA", "Time-out.")}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TableOf(c.asked).records, c.rows) << c.what;
    }
}

TEST(DnsRecordsTableOf, GivesEachNameItsDnssecStateFromItsAnswers) {
    using namespace dns_type;
    const char* const expired =
        "key for validation signed.example. is marked as invalid because of a previous "
        "validation failure <www.signed.example. A IN>: signature expired from 127.0.0.1 for "
        "key signed.example. while building chain of trust";
    const struct {
        const char* what;
        std::optional<DnsAnswer> a, aaaa;
        std::optional<std::optional<DnsAnswer>> keys;  // the trust anchor's; none: not asked
        DnssecState state;
        const char* reason;
    } cases[] = {
        {"all secure", Answered({}), Answered({}), Answered({}), DnssecState::Valid, ""},
        {"secure beside a time-out", Answered({}), Ended(Outcome::TimedOut), Answered({}),
         DnssecState::Valid, ""},
        {"proven unsigned", Answered({}, Dnssec::Insecure), Answered({}, Dnssec::Insecure, 3),
         Answered({}), DnssecState::NotSigned, ""},
        {"a server failure proves nothing", Answered({}, Dnssec::Insecure, 2),
         Ended(Outcome::TimedOut), Answered({}), DnssecState::NotChecked, "Server failure."},
        {"one bogus answer, with the validator's last reason", Answered({}), Bogus(expired),
         Answered({}), DnssecState::Bogus,
         "signature expired from 127.0.0.1 for key signed.example. while building chain of "
         "trust"},
        {"bogus where no anchor's keys were asked", Bogus("no signatures"), Answered({}),
         std::nullopt, DnssecState::Bogus, "no signatures"},
        {"bogus, as the anchor's own keys are: the records were stripped on the way",
         Bogus("no signatures"), Answered({}), Bogus("no signatures"), DnssecState::NotChecked,
         "the name servers asked do not pass on DNSSEC records"},
        {"bogus, and the anchor's keys not known", Bogus("no signatures"), Answered({}),
         Ended(Outcome::TimedOut), DnssecState::NotChecked, "Time-out."},
        {"nothing answered", Ended(Outcome::TimedOut), Ended(Outcome::TimedOut), Answered({}),
         DnssecState::NotChecked, "Time-out."},
        {"an answer outstanding", std::nullopt, Answered({}), Answered({}), DnssecState::Pending,
         ""},
        {"bogus while the anchor's keys are outstanding", Bogus("no signatures"), Answered({}),
         std::optional<DnsAnswer>(), DnssecState::Pending, ""},
    };
    for (const auto& c : cases) {
        std::vector<Asked> asked = {{DnsSlot::HostA, "signed.example", kA, c.a},
                                    {DnsSlot::HostAaaa, "signed.example", kAaaa, c.aaaa}};
        if (c.keys) {
            asked.push_back({DnsSlot::AnchorKeys, "example", kDnskey, *c.keys});
        }
        const DnsRecordsTable table = TableOf(asked, "signed.example", "signed.example");
        ASSERT_FALSE(table.dnssec.empty()) << c.what;
        EXPECT_EQ(table.dnssec.front(), (DnssecLine{"signed.example", c.state, c.reason}))
            << c.what;
    }
}

TEST(PlanDnsRecords, AsksTheHostOnlyWhatTheDomainDoesNotAnswer) {
    const auto names = [](const DnsRecordsPlan& plan) {
        std::vector<std::string> asked;
        for (const DnsQuestion& question : plan.questions) {
            asked.push_back(question.name + "/" + std::to_string(question.type));
        }
        return asked;
    };
    EXPECT_EQ(names(PlanDnsRecords("www.signed.example", "signed.example", ".")),
              (std::vector<std::string>{"www.signed.example/1", "www.signed.example/28",
                                        "signed.example/6", "signed.example/2", "signed.example/15",
                                        "signed.example/16", "_dmarc.signed.example/16",
                                        "signed.example/257", "www.signed.example/257", "./48"}));
    EXPECT_EQ(
        names(PlanDnsRecords("signed.example", "signed.example", "")),
        (std::vector<std::string>{"signed.example/1", "signed.example/28", "signed.example/6",
                                  "signed.example/2", "signed.example/15", "signed.example/16",
                                  "_dmarc.signed.example/16", "signed.example/257"}));
}

TEST(TrustAnchorZone, IsTheClosestAnchorAboveTheDomain) {
    const char* const root =
        "; the root's keys\n"
        ". IN DNSKEY 257 3 8 AwEAAaz/tAm8yTn4Mfeh ; keytag 20326\n";
    const char* const both =
        ". IN DS 20326 8 2 E06D44B80B8F1D39A95C0B0D7C65D08458E880409BBC683457104237C7F8EC8D\n"
        "EXAMPLE. 3600 IN DS 13216 13 2 246F3BF8EEDE52F8A88154FC5FA80A393CF658E6\n";
    const struct {
        const char* anchors;
        const char* domain;
        std::optional<std::string> zone;
    } cases[] = {
        {root, "signed.example", "."},
        {both, "signed.example", "example"},
        {both, "example", "example"},
        {both, "other.test", "."},
        {"example. DS 13216 13 2 246F\n", "other.test", std::nullopt},
        {"ple. DS 13216 13 2 246F\n", "signed.example", std::nullopt},
        {"; example. DS 13216 13 2 246F\n", "signed.example", std::nullopt},
        {"example. NS ns.example.\n", "signed.example", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrustAnchorZone(c.anchors, c.domain), c.zone) << c.anchors << c.domain;
    }
}

}  // namespace
}  // namespace hostlore
