#pragma once

#include <array>
#include <string>

#include "query/dns_records/dns_records_table.h"

namespace hostlore {

// A TXT record that holds an SPF policy.
bool IsSpf(const TxtData& value);

// The four columns of a row as the page shows them: name, type, TTL, value.
// Names in Unicode with their ASCII form, texts quoted, and no control
// character anywhere.
std::array<std::string, 4> DnsRowCells(const DnsRecordRow& row);
std::array<std::string, 4> DnssecCells(const DnssecLine& line);

}  // namespace hostlore
