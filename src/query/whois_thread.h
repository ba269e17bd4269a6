#pragma once

#include <memory>
#include <string>

#include "net/whois_client.h"
#include "query/connection_settings.h"
#include "query/page_views.h"
#include "query/tthread.h"

namespace hostlore {

// Fills Whois Info with the reply of the whois server for the queried domain.
// Each run talks through a client of its own, so a stopped run can never
// touch the connection of a newer one.
class whois_thread : public TThread {
  public:
    whois_thread(std::shared_ptr<UiHandoff> handoff, std::string url, WhoisView& page,
                 const ConnectionSettings& connection, std::shared_ptr<Resolver> resolver);

    // The connection of this run; the stop button closes it from the window.
    std::shared_ptr<TNetWhois> Client() const { return client_; }

  protected:
    void Execute() override;

  private:
    const std::string url_;
    WhoisView& page_;
    std::shared_ptr<TNetWhois> client_;
};

}  // namespace hostlore
