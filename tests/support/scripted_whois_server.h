#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace hostlore::test {

// A whois server whose answer depends on the query; a query for "silent.test"
// is never answered: the server waits for the client to give up.
class ScriptedWhoisServer {
  public:
    explicit ScriptedWhoisServer(const std::string& address = "127.0.0.1", int port = 0)
        : server_(
              [this](ServerConnection& peer) {
                  const std::string request = peer.ReadUntil("\r\n");
                  Record(request);
                  if (request == "silent.test\r\n") {
                      peer.WaitForClientClose();
                      ++closed_;
                  } else if (request != "closing.test\r\n") {
                      peer.Send("Domain Name: " + request.substr(0, request.size() - 2) +
                                "\r\n\r\nRegistrar: Test Registrar\r\n");
                  }
              },
              address, port) {}
    ScriptedWhoisServer(const ScriptedWhoisServer&) = delete;
    ScriptedWhoisServer& operator=(const ScriptedWhoisServer&) = delete;

    int Port() const { return server_.Port(); }
    int Accepted() const { return server_.Accepted(); }
    int Closed() const { return closed_; }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    void Record(const std::string& request) {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::atomic<int> closed_{0};
    LoopbackServer server_;
};

}  // namespace hostlore::test
