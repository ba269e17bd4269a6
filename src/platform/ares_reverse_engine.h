#pragma once

#include <cstddef>
#include <memory>
#include <thread>

#include "platform/resolver.h"

namespace hostlore {

// Reverse look-ups through c-ares, all on one thread of the engine's own.
// Each batch gets a channel of its own, which reads resolv.conf (with its
// timeouts), nsswitch.conf and the hosts file as the system's resolver does,
// so dropping a batch ends its queries and closes its sockets at once. At most
// kMaxInFlight queries of all batches together are in flight; the others wait
// their turn in the order they were started.
class AresReverseEngine {
  public:
    static constexpr std::size_t kMaxInFlight = 64;

    // Starts the thread; raises an exception when it cannot, leaving nothing
    // behind.
    AresReverseEngine();
    // Ends every batch's queries and joins the thread.
    ~AresReverseEngine();
    AresReverseEngine(const AresReverseEngine&) = delete;
    AresReverseEngine& operator=(const AresReverseEngine&) = delete;

    // Raises an exception when c-ares cannot set up a channel.
    std::unique_ptr<ReverseLookups> NewBatch();

    // The most queries that were in flight at one moment so far.
    std::size_t PeakInFlight() const;

  private:
    struct Shared;
    struct Loop;
    class Batch;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace hostlore
