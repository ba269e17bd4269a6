#include "query/service_panes/service_pane_threads.h"

namespace hostlore {

service_pane_thread::service_pane_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                                         ServicePaneView& pane, SettingsStore settings,
                                         const ServiceKeys& service)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      pane_(pane),
      settings_(std::move(settings)),
      service_(service) {}

void service_pane_thread::Execute() {
    const std::string target = ServicePageUrl(settings_, service_, url_);
    if (target.empty()) {
        return;
    }
    Synchronize([&] { pane_.Navigate(target); });
}

}  // namespace hostlore
