#pragma once

#include <exception>
#include <string>

namespace hostlore {

// A failure as one short sentence for a status line: "Connection refused.",
// "Host not found.", "Read timed out.".
std::string FailureReason(const std::exception& error);

}  // namespace hostlore
