#include "platform/system_error.h"

#include <cstring>

namespace hostlore {

namespace {

std::string SystemText(int code) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be in buffer.
    return ::strerror_r(code, buffer, sizeof(buffer));
}

}  // namespace

ESystemError::ESystemError(int code)
    : std::runtime_error("System Error.  Code: " + std::to_string(code) + ".\n" + SystemText(code)),
      code_(code) {}

}  // namespace hostlore
