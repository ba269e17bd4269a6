// A whois server's reply cut into the page's lines.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
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
    return 0;
}
