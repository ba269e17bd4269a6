#pragma once

#include <string_view>

namespace hostlore {

// Without the blanks and control characters (codes 0 to 32) at either end.
std::string_view TrimControls(std::string_view text);
std::string_view TrimLeftControls(std::string_view text);

}  // namespace hostlore
