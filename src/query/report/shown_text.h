#pragma once

#include <QString>
#include <string_view>

namespace hostlore {

// One whois reply line as the page shows it: a carriage return at its end
// would become a line break of its own there.
QString ShownWhoisLine(std::string_view line);

// One line of the local network report as the page shows it: the carriage
// return that ends each entry of an address list becomes a blank.
QString ShownLocalReportLine(std::string_view line);

}  // namespace hostlore
