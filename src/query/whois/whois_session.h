#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "query/whois/rdap_bootstrap.h"
#include "query/whois/rdap_bootstrap_cache.h"
#include "query/whois/whois_referrals.h"

namespace hostlore {

// What whois queries learn once and keep for the rest of the program's run:
// IANA's answer per top-level domain and the RDAP bootstrap file. Shared by
// every query, safe on any thread. While one query asks IANA about a
// top-level domain or fetches the bootstrap file, the others wait for its
// answer rather than ask again.
class WhoisSession {
  public:
    using Stopped = std::function<bool()>;

    explicit WhoisSession(RdapBootstrapCache cache) : cache_(std::move(cache)) {}

    // A question that one query asks for all: the others wait while it is held.
    class Claim {
      public:
        Claim(WhoisSession& session, std::string key) : session_(&session), key_(std::move(key)) {}
        ~Claim();
        Claim(Claim&& other) noexcept
            : session_(std::exchange(other.session_, nullptr)), key_(std::move(other.key_)) {}
        Claim& operator=(Claim&& other) noexcept;
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;

      private:
        WhoisSession* session_;
        std::string key_;
    };

    // The registry's whois server for a top-level domain: unknown (none), or
    // what IANA said, which may be that there is none.
    std::optional<std::optional<WhoisServerAddress>> RegistryFor(const std::string& topLevel) const;
    void RememberRegistry(const std::string& topLevel, std::optional<WhoisServerAddress> server);
    // RegistryFor, after waiting while another query asks IANA about the same
    // domain. When it is still unknown, `claim` holds the question for the
    // caller until it goes; nothing is claimed once `stopped` is true.
    std::optional<std::optional<WhoisServerAddress>> AwaitRegistry(const std::string& topLevel,
                                                                   std::optional<Claim>& claim,
                                                                   const Stopped& stopped);

    // The bootstrap file from `url`: as read before in this run, else the
    // cached copy, else what `fetch` brings, which is then cached. None when
    // neither gives a bootstrap file; `fetch` may raise.
    using Fetch = std::function<std::string(const std::string& url)>;
    std::shared_ptr<const RdapBootstrap> Bootstrap(const std::string& url,
                                                   std::chrono::system_clock::time_point now,
                                                   const Fetch& fetch, const Stopped& stopped = {});

  private:
    // Waits while another holds `key`; then the claim, unless `known` (asked
    // under the lock) or `stopped` says there is nothing to ask.
    std::optional<Claim> ClaimUnless(const std::string& key, const std::function<bool()>& known,
                                     const Stopped& stopped);
    void Unclaim(const std::string& key);

    const RdapBootstrapCache cache_;
    mutable std::mutex mutex_;
    std::condition_variable unclaimed_;
    std::set<std::string> claimed_;
    std::map<std::string, std::optional<WhoisServerAddress>> registries_;
    std::map<std::string, std::shared_ptr<const RdapBootstrap>> bootstraps_;
};

}  // namespace hostlore
