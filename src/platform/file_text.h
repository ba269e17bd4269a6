#pragma once

#include <filesystem>
#include <string>

namespace hostlore {

// The whole content of a file, byte for byte; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& file);

}  // namespace hostlore
