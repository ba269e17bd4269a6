#pragma once

namespace hostlore {

// A wait or a deadline without limit.
inline constexpr int kNoLimit = -2;

}  // namespace hostlore
