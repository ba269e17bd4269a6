// A whois server's reply cut into the page's lines, and made safe for a
// terminal.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/terminal_text.h"
#include "platform/utf8_sequence.h"
#include "query/whois/whois_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    std::string joined;
    for (const auto& line : WhoisReplyLines(reply)) {
        fuzz::Require(!line.empty() && line.find('\n') == std::string::npos,
                      "a line is not empty and holds no line feed");
        joined += line;
    }
    std::string withoutLineFeeds(reply);
    std::erase(withoutLineFeeds, '\n');
    fuzz::Require(joined == withoutLineFeeds, "the lines keep every byte but line feeds, in order");

    std::string_view safe;
    const std::string terminal = TerminalSafeText(reply);
    for (safe = terminal; !safe.empty();) {
        const auto [length, point] = Utf8SequenceAt(safe);
        fuzz::Require(length > 0, "what a terminal gets is UTF-8");
        fuzz::Require(point >= 0x20 ? point < 0x7F || point > 0x9F : point == '\t' || point == '\n',
                      "and holds no control but tab and line feed");
        safe.remove_prefix(length);
    }
    return 0;
}
