#include "platform/terminal_text.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/utf8_sequence.h"

namespace hostlore {

namespace {

void AppendEscape(std::string& text, std::uint32_t value) {
    std::array<char, 8> escape{};
    std::snprintf(escape.data(), escape.size(), "\\x%02x", static_cast<unsigned>(value));
    text += escape.data();
}

bool IsControl(std::uint32_t point) {
    return (point < 0x20 && point != '\t' && point != '\n') || (point >= 0x7F && point <= 0x9F);
}

}  // namespace

std::string TerminalSafeText(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    while (!text.empty()) {
        const auto [length, point] = Utf8SequenceAt(text);
        if (length == 0) {
            AppendEscape(safe, static_cast<std::uint8_t>(text.front()));
            text.remove_prefix(1);
            continue;
        }
        if (IsControl(point)) {
            AppendEscape(safe, point);
        } else {
            safe.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return safe;
}

}  // namespace hostlore
