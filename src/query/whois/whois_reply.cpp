#include "query/whois/whois_reply.h"

namespace hostlore {

std::vector<std::string> WhoisReplyLines(std::string_view reply) {
    std::vector<std::string> lines;
    while (!reply.empty()) {
        if (reply.front() == '\n') {
            reply.remove_prefix(1);
            continue;
        }
        const auto lineFeed = reply.find('\n');
        lines.emplace_back(reply.substr(0, lineFeed));
        if (lineFeed == std::string_view::npos) {
            break;
        }
        reply.remove_prefix(lineFeed);
    }
    return lines;
}

}  // namespace hostlore
