#pragma once

#include <string>
#include <string_view>

namespace hostlore {

// Letter case matters only for ASCII letters; other bytes compare as they are.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// ASCII letters in lower case, every other byte as it is.
std::string AsciiLowerCase(std::string_view text);

// Without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace hostlore
