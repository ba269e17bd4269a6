#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/recording_server.h"

namespace hostlore::test {

// A web server that answers each request by its target, on connections kept
// open, over TLS when the options carry an identity; it records what each
// request carried.
class PathServer {
  public:
    struct Request {
        std::string target;
        std::string text;        // the whole request
        std::string serverName;  // over TLS: the name the client sent
        std::string protocol;    // over TLS: the protocol both chose
    };

    explicit PathServer(std::map<std::string, std::string> replies,
                        const ServerOptions& options = {},
                        std::string otherwise = "HTTP/1.1 404 Not Found\r\n\r\n");

    int Port() const { return server_.Port(); }
    std::vector<Request> Requests() const;
    std::vector<std::string> Targets() const;

  private:
    std::string Answer(Request request);

    std::map<std::string, std::string> replies_;
    std::string otherwise_;
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    LoopbackServer server_;  // last: its scripts use the members above
};

}  // namespace hostlore::test
