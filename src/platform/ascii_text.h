#pragma once

#include <string_view>

namespace hostlore {

// Letter case matters only for ASCII letters; other bytes compare as they are.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace hostlore
