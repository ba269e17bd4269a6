#pragma once

// region/: the table of IPv4 blocks and their regions; includes nothing but the standard library.

#include <string>
#include <string_view>

namespace hostlore {

// The region, or the registrant, of the IPv4 block of the first dotted address
// in `text` (only its first two numbers count); "United States" when the table
// has nothing for it. Constant data only: safe on any thread.
std::string region_of_address(std::string_view text);

// The same answer with the row that gave it: the address block the row
// decides for ("217.10.0.0/16" when the first two numbers decide,
// "12.0.0.0/8" when the first does; empty for a text without a dotted
// address), and the row's numbers as the table lists them ("217.8-31, 64-79",
// "0-2"), empty when no row covers the block and the default stands.
struct RegionMatch {
    std::string region;
    std::string block;
    std::string rule;
};
RegionMatch RegionMatchOf(std::string_view text);

}  // namespace hostlore
