#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace hostlore {

class TNetTCPConnection;

// The body of a 200 reply to "GET target" from a server on 127.0.0.1:port,
// asked in HTTP/1.1 with a Host line. The body ends at its Content-Length
// (the server may keep the connection open) or, without one, where the server
// closes. Nothing when the server fails, the deadline passes or the reply
// grows beyond `maxReply` bytes.
std::optional<std::string> LoopbackHttpGet(int port, const std::string& target,
                                           std::chrono::steady_clock::time_point deadline,
                                           std::size_t maxReply);

// The body of such a reply read from a connection that has sent the request;
// raises the connection's own failures.
std::optional<std::string> ReceiveLoopbackReply(TNetTCPConnection& connection,
                                                std::chrono::steady_clock::time_point deadline,
                                                std::size_t maxReply);

}  // namespace hostlore
