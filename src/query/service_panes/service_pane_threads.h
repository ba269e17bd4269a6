#pragma once

// query/service_panes/: the services' URLs and the workers that send the panes there; may include
// query/, query/thread/ and settings/.

#include <memory>
#include <string>

#include "query/page_views.h"
#include "query/service_panes/service_urls.h"
#include "query/thread/tthread.h"
#include "settings/settings_store.h"

namespace hostlore {

// Sends one service page's pane to the service's address for the query, and
// ends without waiting for the page to load.
class service_pane_thread : public TThread {
  public:
    service_pane_thread(std::shared_ptr<UiHandoff> handoff, std::string url, ServicePaneView& pane,
                        SettingsStore settings, const ServiceKeys& service);

  protected:
    void Execute() override;

  private:
    const std::string url_;
    ServicePaneView& pane_;
    const SettingsStore settings_;
    const ServiceKeys& service_;
};

// One worker class per service, in page order.
template <std::size_t Service>
class service_thread_of : public service_pane_thread {
  public:
    service_thread_of(std::shared_ptr<UiHandoff> handoff, std::string url, ServicePaneView& pane,
                      SettingsStore settings)
        : service_pane_thread(std::move(handoff), std::move(url), pane, std::move(settings),
                              kServiceKeys[Service]) {}
};

using alexa_thread = service_thread_of<0>;
using whois_source_thread = service_thread_of<1>;
using backward_links_thread = service_thread_of<2>;
using similar_pages_thread = service_thread_of<3>;

}  // namespace hostlore
