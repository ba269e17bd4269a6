#include "query/whois/whois_services.h"

namespace hostlore {

WhoisServices WhoisServices::WithCacheIn(const std::filesystem::path& cacheFolder,
                                         std::shared_ptr<const Clock> clock) {
    return {PublicSuffixList::Packaged(),
            std::make_shared<WhoisSession>(RdapBootstrapCache(cacheFolder)), std::move(clock),
            std::make_shared<ServerTurns>()};
}

}  // namespace hostlore
