#pragma once

#include <memory>
#include <mutex>

#include "net/whois_client.h"
#include "query/whois_chain.h"

namespace hostlore {

// A chain's whois conversations over port 43, each through a client set up
// like the given one (proxy, resolver), and all of them stoppable at once
// from another thread.
class WhoisSockets : public WhoisAsker {
  public:
    explicit WhoisSockets(const TNetWhois& settings);

    std::string AskWhois(const WhoisServer& server, const std::string& query) override;

    // Breaks off the conversation under way; every later one fails at once.
    void Stop();

  private:
    TNetWhois settings_{nullptr};
    std::mutex mutex_;
    std::shared_ptr<TNetWhois> current_;
    bool stopped_ = false;
};

}  // namespace hostlore
