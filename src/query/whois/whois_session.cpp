#include "query/whois/whois_session.h"

namespace hostlore {

namespace {

constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

WhoisSession::Claim::~Claim() {
    if (session_ != nullptr) {
        session_->Unclaim(key_);
    }
}

WhoisSession::Claim& WhoisSession::Claim::operator=(Claim&& other) noexcept {
    if (this != &other) {
        if (session_ != nullptr) {
            session_->Unclaim(key_);
        }
        session_ = std::exchange(other.session_, nullptr);
        key_ = std::move(other.key_);
    }
    return *this;
}

std::optional<WhoisSession::Claim> WhoisSession::ClaimUnless(const std::string& key,
                                                             const std::function<bool()>& known,
                                                             const Stopped& stopped) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (known() || (stopped && stopped())) {
            return std::nullopt;
        }
        if (claimed_.insert(key).second) {
            return Claim(*this, key);
        }
        unclaimed_.wait_for(lock, kStopCheck);
    }
}

void WhoisSession::Unclaim(const std::string& key) {
    {
        std::lock_guard lock(mutex_);
        claimed_.erase(key);
    }
    unclaimed_.notify_all();
}

std::optional<std::optional<WhoisServerAddress>> WhoisSession::AwaitRegistry(
    const std::string& topLevel, std::optional<Claim>& claim, const Stopped& stopped) {
    claim = ClaimUnless(
        "registry " + topLevel, [&] { return registries_.contains(topLevel); }, stopped);
    return RegistryFor(topLevel);
}

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
    const std::string& url, std::chrono::system_clock::time_point now, const Fetch& fetch,
    const Stopped& stopped) {
    const auto claim = ClaimUnless(
        "bootstrap " + url, [&] { return bootstraps_.contains(url); }, stopped);
    {
        std::lock_guard lock(mutex_);
        if (const auto known = bootstraps_.find(url); known != bootstraps_.end()) {
            return known->second;
        }
    }
    if (!claim) {
        return nullptr;  // stopped while another fetched it
    }
    std::optional<RdapBootstrap> bootstrap;
    if (const auto cached = cache_.Read(url, now)) {
        bootstrap = RdapBootstrap::Parse(*cached);
    }
    if (!bootstrap) {
        // Fetched without the lock: queries that need no bootstrap go on meanwhile.
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
