#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// The lines of a whois reply as the page shows them: split at line feeds, a
// carriage return kept at the end of its line, lines between two adjacent line
// feeds dropped, and the rest after the last line feed as the last line.
std::vector<std::string> WhoisReplyLines(std::string_view reply);

}  // namespace hostlore
