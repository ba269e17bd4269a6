#pragma once

#include "query/dns_records/dns_records_table.h"
#include "query/report/json_writer.h"

namespace hostlore {

// The report's "dns" object: each record with its typed value, or null and
// why there is none, and the DNSSEC state of each name.
void WriteDnsRecords(JsonWriter& json, const DnsRecordsTable& table);

}  // namespace hostlore
