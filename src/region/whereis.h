#pragma once

// region/: the table of IPv4 blocks and their regions; includes nothing but the standard library.

#include <string>
#include <string_view>

namespace hostlore {

// The region, or the registrant, of the IPv4 block of the first dotted address
// in `text` (only its first two numbers count); "United States" when the table
// has nothing for it. Constant data only: safe on any thread.
std::string region_of_address(std::string_view text);

}  // namespace hostlore
