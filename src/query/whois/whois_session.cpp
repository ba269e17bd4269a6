#include "query/whois/whois_session.h"

namespace hostlore {

std::optional<std::optional<WhoisServerAddress>> WhoisSession::RegistryFor(
    const std::string& topLevel) const {
    std::lock_guard lock(mutex_);
    const auto known = registries_.find(topLevel);
    if (known == registries_.end()) {
        return std::nullopt;
    }
    return known->second;
}

void WhoisSession::RememberRegistry(const std::string& topLevel,
                                    std::optional<WhoisServerAddress> server) {
    std::lock_guard lock(mutex_);
    registries_[topLevel] = std::move(server);
}

std::shared_ptr<const RdapBootstrap> WhoisSession::Bootstrap(
    const std::string& url, std::chrono::system_clock::time_point now, const Fetch& fetch) {
    {
        std::lock_guard lock(mutex_);
        if (const auto known = bootstraps_.find(url); known != bootstraps_.end()) {
            return known->second;
        }
    }
    std::optional<RdapBootstrap> bootstrap;
    if (const auto cached = cache_.Read(url, now)) {
        bootstrap = RdapBootstrap::Parse(*cached);
    }
    if (!bootstrap) {
        // Fetched without the lock: a slow server must not hold up other queries.
        const std::string fetched = fetch(url);
        bootstrap = RdapBootstrap::Parse(fetched);
        if (!bootstrap) {
            return nullptr;
        }
        cache_.Write(url, fetched);
    }
    auto shared = std::make_shared<const RdapBootstrap>(std::move(*bootstrap));
    std::lock_guard lock(mutex_);
    return bootstraps_.try_emplace(url, std::move(shared)).first->second;
}

}  // namespace hostlore
