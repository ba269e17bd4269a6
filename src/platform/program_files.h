#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hostlore {

// The running executable's full path, read from /proc/self/exe.
std::filesystem::path ExecutablePath();

// The executable's file name cut at its first ".", every letter after the
// first in lower case: the title of the task bar button and of error boxes.
std::string ApplicationTitle(const std::filesystem::path& executable);

}  // namespace hostlore
