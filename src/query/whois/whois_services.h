#pragma once

#include <filesystem>
#include <memory>

#include "platform/clock.h"
#include "platform/public_suffix_list.h"
#include "query/whois/server_turns.h"
#include "query/whois/whois_session.h"

namespace hostlore {

// What the whois queries of one run of the program share.
struct WhoisServices {
    std::shared_ptr<const PublicSuffixList> suffixes;
    std::shared_ptr<WhoisSession> session;
    std::shared_ptr<const Clock> clock;
    std::shared_ptr<ServerTurns> turns;

    // The packaged suffix list, and a session whose copies of the RDAP
    // bootstrap file live in `cacheFolder`.
    static WhoisServices WithCacheIn(const std::filesystem::path& cacheFolder,
                                     std::shared_ptr<const Clock> clock);
};

}  // namespace hostlore
