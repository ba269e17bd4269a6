#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "query/dns_records/dns_message.h"

namespace hostlore {

// What an empty answer shows.
inline constexpr const char* kNoRecords = "none";

// One row of DNS Records: a record, or why a question has none.
struct DnsRecordRow {
    std::string name;  // ASCII, as the answer has it
    std::string type;  // "A", "CNAME", "MX", ...
    std::optional<std::uint32_t> ttl;
    std::optional<DnsValue> value;
    std::string reason;  // without a value: "none", "Time-out.", ...
    bool operator==(const DnsRecordRow&) const = default;
};

enum class DnssecState { Pending, Valid, Bogus, NotSigned, NotChecked };

// How the answers for one name stand with DNSSEC.
struct DnssecLine {
    std::string name;
    DnssecState state = DnssecState::Pending;
    std::string reason;  // for Bogus and NotChecked
    bool operator==(const DnssecLine&) const = default;
};

// The page as it stands: the rows in their order, then a DNSSEC line per name.
struct DnsRecordsTable {
    std::string host;    // ASCII; empty before a query has one
    std::string domain;  // the registrable domain of the host
    std::vector<DnsRecordRow> records;
    std::vector<DnssecLine> dnssec;
};

}  // namespace hostlore
