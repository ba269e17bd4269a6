#pragma once

#include <string>
#include <vector>

namespace hostlore::test {

// A socket listening on `address` (IPv4 or IPv6 text) and `port` (0: any
// free one) that never accepts. Answering: the kernel completes connections
// into its queue. Silent: its queue is full, so the kernel drops further
// connection requests and a connect to it never completes.
class ListeningSocket {
  public:
    enum class Kind { Answering, Silent };
    ListeningSocket(const std::string& address, int port, Kind kind);
    ~ListeningSocket();
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;
    int Port() const { return port_; }

  private:
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

}  // namespace hostlore::test
