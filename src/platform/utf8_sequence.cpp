#include "platform/utf8_sequence.h"

namespace hostlore {

Utf8Sequence Utf8SequenceAt(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    std::uint32_t point = 0;
    if (lead < 0x80) {
        return {1, lead};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, point = lead & 0x07u;
    } else {
        return {0, 0};
    }
    if (bytes.size() < length) {
        return {0, 0};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80) {
            return {0, 0};
        }
        point = (point << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    if (point < lowest || surrogate || point > 0x10FFFF) {
        return {0, 0};
    }
    return {length, point};
}

}  // namespace hostlore
