#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// The items of the neighbourhood list: the bare address while its name is
// looked up, then the address, four blanks and the name, or "X" when it has
// none.
inline constexpr std::string_view kNeighbourSeparator = "    ";
inline constexpr std::string_view kNoNeighbourName = "X";

std::string NamedNeighbourItem(std::string_view address, std::string_view name);

// The name an item carries: the text after its first four blanks, unless it
// is "X" or missing.
std::optional<std::string> NeighbourName(std::string_view item);

}  // namespace hostlore
