#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "query/whois/rdap_bootstrap.h"
#include "query/whois/rdap_bootstrap_cache.h"
#include "query/whois/whois_referrals.h"

namespace hostlore {

// What whois queries learn once and keep for the rest of the program's run:
// IANA's answer per top-level domain and the RDAP bootstrap file. Shared by
// every query, safe on any thread.
class WhoisSession {
  public:
    explicit WhoisSession(RdapBootstrapCache cache) : cache_(std::move(cache)) {}

    // The registry's whois server for a top-level domain: unknown (none), or
    // what IANA said, which may be that there is none.
    std::optional<std::optional<WhoisServerAddress>> RegistryFor(const std::string& topLevel) const;
    void RememberRegistry(const std::string& topLevel, std::optional<WhoisServerAddress> server);

    // The bootstrap file from `url`: as read before in this run, else the
    // cached copy, else what `fetch` brings, which is then cached. None when
    // neither gives a bootstrap file; `fetch` may raise.
    using Fetch = std::function<std::string(const std::string& url)>;
    std::shared_ptr<const RdapBootstrap> Bootstrap(const std::string& url,
                                                   std::chrono::system_clock::time_point now,
                                                   const Fetch& fetch);

  private:
    const RdapBootstrapCache cache_;
    mutable std::mutex mutex_;
    std::map<std::string, std::optional<WhoisServerAddress>> registries_;
    std::map<std::string, std::shared_ptr<const RdapBootstrap>> bootstraps_;
};

}  // namespace hostlore
