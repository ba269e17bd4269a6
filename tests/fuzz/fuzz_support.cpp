#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace hostlore::fuzz {

void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "Property broken: %s\n", property);
        std::abort();
    }
}

std::uint8_t FuzzInput::TakeByte() {
    if (rest_.empty()) {
        return 0;
    }
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
}

std::string FuzzInput::TakeLine() {
    const auto lineFeed = rest_.find('\n');
    std::string line(rest_.substr(0, lineFeed));
    rest_.remove_prefix(lineFeed == std::string_view::npos ? rest_.size() : lineFeed + 1);
    return line;
}

}  // namespace hostlore::fuzz
