// Firefox's session file. An odd first byte makes the rest the session's JSON,
// packed here into a mozLz4 file that must unpack to it again, so that the
// JSON reader is reached by more than luck; an even one makes the rest the
// file as read from disk.
#include <lz4.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "localinfo/running_browsers.h"

namespace {

std::string PackedSession(std::string_view json) {
    std::string file("mozLz40\0", 8);
    for (int shift = 0; shift < 32; shift += 8) {
        file += static_cast<char>((json.size() >> shift) & 0xFF);
    }
    std::string block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(json.size()))),
                      '\0');
    const int packed = LZ4_compress_default(
        json.data(), block.data(), static_cast<int>(json.size()), static_cast<int>(block.size()));
    hostlore::fuzz::Require(packed > 0 || json.empty(), "the session packs");
    return file + block.substr(0, static_cast<std::size_t>(packed));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    std::optional<std::string> json;
    if (input.TakeByte() % 2 == 1) {
        json = DecodeMozLz4(PackedSession(input.Rest()));
        fuzz::Require(json == input.Rest(), "a packed session unpacks to itself");
    } else {
        json = DecodeMozLz4(input.Rest());
    }
    if (json) {
        ActivePageOfSession(*json);
    }
    return 0;
}
