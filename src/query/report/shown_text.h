#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace hostlore {

// One whois reply line as the page shows it: a carriage return at its end
// would become a line break of its own there.
QString ShownWhoisLine(std::string_view line);

// One line of the local network report as the page shows it: the carriage
// return that ends each entry of an address list becomes a blank.
QString ShownLocalReportLine(std::string_view line);

// The whois record's expiry as the status area shows it: "Expires: DATE (N
// days left)", the date in the user's short date format.
std::string RecordExpiryText(std::int64_t expires, std::int64_t now);

}  // namespace hostlore
