#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "platform/resolver.h"

namespace hostlore {

// The scan's reverse look-ups through libunbound instead of c-ares, for the
// benchmark that decides between them: a context per batch, which asks the
// name servers of resolv.conf as forwarders without validating and answers
// from the hosts file, with the library's thread and one that delivers its
// answers. The library answers the reverse zones of private and documentation
// blocks itself; those of private blocks are let through. Names are looked up by the system's
// resolver as before.
class UnboundReverseResolver : public Resolver {
  public:
    // `tuned`: with the options that make the library keep up with c-ares.
    explicit UnboundReverseResolver(bool tuned) : tuned_(tuned) {}

    HostLookup LookupName(const std::string& name) override { return system_.LookupName(name); }
    HostLookup LookupAddress(const Ipv4Address& address) override {
        return system_.LookupAddress(address);
    }
    std::unique_ptr<ReverseLookups> NewReverseLookups() override;

    // The most reverse look-ups that were in flight at one moment so far.
    std::size_t PeakInFlight() const { return peak_.load(); }

  private:
    class Batch;
    const bool tuned_;
    SystemResolver system_;
    std::atomic<std::size_t> inFlight_{0};
    std::atomic<std::size_t> peak_{0};
};

}  // namespace hostlore
