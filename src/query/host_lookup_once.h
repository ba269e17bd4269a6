#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/resolver.h"

namespace hostlore {

// The resolver as one query's workers see it: the query's host is looked up
// once, by whichever worker asks first, and the others share that answer.
// Every other question goes to the resolver as it is.
class HostLookupOnce : public Resolver {
  public:
    HostLookupOnce(std::shared_ptr<Resolver> resolver, std::string host);

    HostLookup LookupName(const std::string& name) override;
    HostLookup LookupAddress(const Ipv4Address& address) override;

  private:
    const std::shared_ptr<Resolver> resolver_;
    const std::string host_;
    std::mutex mutex_;
    std::condition_variable answered_;
    bool asked_ = false;
    std::optional<HostLookup> answer_;
    std::exception_ptr failure_;
};

}  // namespace hostlore
