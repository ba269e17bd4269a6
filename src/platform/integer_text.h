#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hostlore {

// Raised when a text that must hold an integer does not.
class ConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a 32-bit signed integer the way the settings and the user's fields are
// read: optional leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x"/"0X". Nothing may follow the digits.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger without the hexadecimal forms, for numbers of network
// protocols: "$C8" and "0x50" are no numbers there.
std::optional<std::int32_t> ParseDecimalInteger(std::string_view text);

// ParseInteger that raises "'TEXT' is not a valid integer value" on failure.
std::int32_t IntegerFromText(std::string_view text);
// ParseDecimalInteger that raises as IntegerFromText does.
std::int32_t DecimalFromText(std::string_view text);

std::string NotAnIntegerMessage(std::string_view text);

}  // namespace hostlore
