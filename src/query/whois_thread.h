#pragma once

#include <memory>

#include "net/whois_client.h"
#include "query/tthread.h"

namespace hostlore {

class Tmain;

// Fills Whois Info with the reply of the whois server for the queried domain.
// Each run talks through a client of its own, set up like the window's, so a
// stopped run can never touch the connection of a newer one.
class whois_thread : public TThread {
  public:
    whois_thread(Tmain& window, const TNetWhois& settings);

    // The connection of this run; the stop button closes it from the window.
    std::shared_ptr<TNetWhois> Client() const { return client_; }

  protected:
    void Execute() override;

  private:
    Tmain& window_;
    std::shared_ptr<TNetWhois> client_;
};

}  // namespace hostlore
