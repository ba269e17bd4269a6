#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dns_questions.h"
#include "query/dns_records/dns_records_table.h"

namespace hostlore {

// What each question is asked for, in the order the page shows them.
enum class DnsSlot { HostA, HostAaaa, Soa, Ns, Mx, Txt, Dmarc, Caa, HostCaa, AnchorKeys };

struct DnsQuestion {
    DnsSlot slot;
    std::string name;
    std::uint16_t type;
};

// Every question a host needs, to be asked at once. `anchorZone` is the zone
// of the trust anchor above the domain, whose keys show whether the name
// servers pass on DNSSEC records at all; empty when none is above it.
struct DnsRecordsPlan {
    std::string host;
    std::string domain;
    std::vector<DnsQuestion> questions;
};
DnsRecordsPlan PlanDnsRecords(const std::string& host, const std::string& domain,
                              const std::string& anchorZone);

// A reply taken apart.
struct DnsAnswer {
    DnsReply::Outcome outcome = DnsReply::Outcome::Failed;
    int rcode = 0;
    std::vector<DnsRecord> records;
    DnsReply::Dnssec dnssec = DnsReply::Dnssec::Insecure;
    std::string whyBogus;
    std::string failure;
};
DnsAnswer AnswerOf(const DnsReply& reply);

// The page for the answers so far, one per question of the plan (nothing
// where it is outstanding).
DnsRecordsTable DnsRecordsTableOf(const DnsRecordsPlan& plan,
                                  const std::vector<std::optional<DnsAnswer>>& answers);

// The zone of the anchor in `anchorFile` (a trust anchor file's text) closest
// above `domain`; nothing when none is.
std::optional<std::string> TrustAnchorZone(std::string_view anchorFile, std::string_view domain);

}  // namespace hostlore
