#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace hostlore {

// The valid UTF-8 sequence at the start of `bytes`: its length and the code
// point it encodes. Length 0 when the first byte starts none (an overlong
// form, a surrogate, a point past U+10FFFF or a sequence cut short).
struct Utf8Sequence {
    std::size_t length;
    std::uint32_t point;
};
Utf8Sequence Utf8SequenceAt(std::string_view bytes);

}  // namespace hostlore
