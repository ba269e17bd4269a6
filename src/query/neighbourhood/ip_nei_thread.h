#pragma once

// query/neighbourhood/: the IP Neighborhood worker and its scan of reverse look-ups; may include
// query/, query/thread/, net/, platform/ and settings/.

#include <memory>
#include <optional>
#include <string>

#include "platform/resolver.h"
#include "query/neighbourhood/neighbour_scan.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"
#include "settings/settings_store.h"

namespace hostlore {

// Fills IP Neighborhood: the addresses around the host's first one, each
// with the name its reverse look-up gives. The look-ups run ahead of the
// list, so the list grows at the pace of the answers, not of their sum.
class ip_nei_thread : public TThread {
  public:
    // `count` stands in for the stored neighbour count when given.
    ip_nei_thread(std::shared_ptr<UiHandoff> handoff, std::string url, NeighbourhoodView& page,
                  SettingsStore settings, std::shared_ptr<Resolver> resolver,
                  std::optional<std::string> count = std::nullopt);

  protected:
    void Execute() override;

  private:
    // Lists the planned addresses, each named as its answer comes.
    void ListNeighbours(const NeighbourScanPlan& plan);

    const std::string url_;
    NeighbourhoodView& page_;
    const SettingsStore settings_;
    std::shared_ptr<Resolver> resolver_;
    const std::optional<std::string> count_;
};

}  // namespace hostlore
