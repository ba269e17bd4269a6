#include "support/path_server.h"

namespace hostlore::test {

PathServer::PathServer(std::map<std::string, std::string> replies, const ServerOptions& options,
                       std::string otherwise)
    : replies_(std::move(replies)),
      otherwise_(std::move(otherwise)),
      server_(
          [this](ServerConnection& peer) {
              for (;;) {
                  std::string text = peer.ReadUntil("\r\n\r\n");
                  const auto start = text.find(' ') + 1;
                  const auto end = text.find(' ', start);
                  if (!text.ends_with("\r\n\r\n") || start == 0 || end == std::string::npos) {
                      return;
                  }
                  std::string target = text.substr(start, end - start);
                  peer.Send(Answer({std::move(target), std::move(text), peer.TlsServerName(),
                                    peer.TlsProtocol()}));
              }
          },
          options) {}

std::vector<PathServer::Request> PathServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> PathServer::Targets() const {
    std::vector<std::string> targets;
    for (const Request& request : Requests()) {
        targets.push_back(request.target);
    }
    return targets;
}

std::string PathServer::Answer(Request request) {
    std::lock_guard lock(mutex_);
    const auto reply = replies_.find(request.target);
    requests_.push_back(std::move(request));
    return reply != replies_.end() ? reply->second : otherwise_;
}

}  // namespace hostlore::test
