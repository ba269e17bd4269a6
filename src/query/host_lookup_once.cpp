#include "query/host_lookup_once.h"

namespace hostlore {

HostLookupOnce::HostLookupOnce(std::shared_ptr<Resolver> resolver, std::string host)
    : resolver_(std::move(resolver)), host_(std::move(host)) {}

HostLookup HostLookupOnce::LookupName(const std::string& name) {
    if (name != host_) {
        return resolver_->LookupName(name);
    }
    std::unique_lock lock(mutex_);
    if (asked_) {
        answered_.wait(lock, [this] { return answer_ || failure_; });
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return *answer_;
    }
    asked_ = true;
    lock.unlock();
    try {
        HostLookup answer = resolver_->LookupName(name);
        lock.lock();
        answer_ = answer;
        answered_.notify_all();
        return answer;
    } catch (...) {
        lock.lock();
        failure_ = std::current_exception();
        answered_.notify_all();
        throw;
    }
}

HostLookup HostLookupOnce::LookupAddress(const Ipv4Address& address) {
    return resolver_->LookupAddress(address);
}

}  // namespace hostlore
