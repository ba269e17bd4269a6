#pragma once

#include <memory>

#include "platform/resolver.h"
#include "query/neighbourhood/neighbour_scan.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"

namespace hostlore {

// The scan as it was before its look-ups went through one batch, kept as the
// benchmark's baseline: up to 16 detached threads per scan, each making one
// blocking look-up after another no further than 64 addresses ahead of the
// list, one hand-off per item and one per name. A stop abandons the threads;
// each lives until its current look-up returns.
class thread_per_lookup_scan : public TThread {
  public:
    thread_per_lookup_scan(std::shared_ptr<UiHandoff> handoff, NeighbourhoodView& page,
                           NeighbourScanPlan plan, std::shared_ptr<Resolver> resolver);

  protected:
    void Execute() override;

  private:
    NeighbourhoodView& page_;
    const NeighbourScanPlan plan_;
    std::shared_ptr<Resolver> resolver_;
};

}  // namespace hostlore
