#pragma once

// query/whois/: the Whois Info worker and its chain of whois and RDAP servers with their
// connections; may include query/, query/thread/, net/ and platform/.

#include <memory>
#include <string>

#include "query/connection_settings.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"
#include "query/whois/chain_connections.h"
#include "query/whois/whois_services.h"

namespace hostlore {

// Fills Whois Info with the whois record of the queried host: the chain of
// servers that leads to it (see WhoisChain), each answer after a line naming
// its server. Each run has connections of its own, so a stopped run can never
// touch those of a newer one.
class whois_thread : public TThread {
  public:
    whois_thread(std::shared_ptr<UiHandoff> handoff, std::string url, WhoisView& page,
                 const ConnectionSettings& connection, std::shared_ptr<Resolver> resolver,
                 WhoisServices services);

    // The stop button's work, from the window: ends the chain at once,
    // whichever server it waits for.
    void StopConversations() { connections_.Stop(); }

  protected:
    void Execute() override;

  private:
    void ShowLines(const std::vector<std::string>& lines);

    const std::string url_;
    WhoisView& page_;
    const WhoisChainSettings settings_;
    const WhoisServices services_;
    ChainConnections connections_;
};

}  // namespace hostlore
