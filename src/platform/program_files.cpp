#include "platform/program_files.h"

#include <algorithm>
#include <cctype>

namespace hostlore {

std::filesystem::path ExecutablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

std::string ApplicationTitle(const std::filesystem::path& executable) {
    std::string name = executable.filename().string();
    name = name.substr(0, name.find('.'));
    if (!name.empty()) {
        std::transform(name.begin() + 1, name.end(), name.begin() + 1,
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return name;
}

}  // namespace hostlore
