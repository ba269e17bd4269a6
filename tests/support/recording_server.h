#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace hostlore::test {

// One request as the server read it.
struct Request {
    std::size_t number;      // 0 for the first the server read
    std::string text;        // all of it, its ending included
    std::string target;      // the second word of its first line: an HTTP request's target
    std::string serverName;  // over TLS: the name the client sent
    std::string protocol;    // over TLS: the protocol both chose
};

// What the server does with the connection once it has answered.
enum class After {
    Close,
    ReadNext,
    WaitForClientClose,
    Reset,
    // Over TLS: closes without the closing alert, as if cut on the way.
    CloseWithoutTlsEnd,
};

struct Reply {
    // Sent a little apart, so that the client gets them one by one.
    std::vector<std::string> parts;
    After after = After::Close;
};

// A LoopbackServer that reads requests up to `ending` ("\r\n\r\n" for HTTP,
// "\r\n" for whois; "": what one receive gives, for protocols without one),
// records each and sends what `answer` gives for it.
class RecordingServer {
  public:
    using Answer = std::function<Reply(const Request&)>;
    RecordingServer(std::string ending, Answer answer, const ServerOptions& options = {});

    int Port() const { return server_.Port(); }
    int Accepted() const { return server_.Accepted(); }
    // Connections the client closed while the server waited for a request,
    // or for the close after After::WaitForClientClose.
    int ClientCloses() const { return clientCloses_; }
    std::vector<Request> Received() const;
    std::vector<std::string> Requests() const;
    std::vector<std::string> Targets() const;
    // PATH on this server, "https:" when it speaks TLS.
    std::string Url(const std::string& path = "/") const;

  private:
    void Serve(ServerConnection& peer);
    Request Record(std::string text, const ServerConnection& peer);

    std::string ending_;
    Answer answer_;
    std::string origin_;
    mutable std::mutex mutex_;
    std::vector<Request> received_;
    std::atomic<int> clientCloses_{0};
    LoopbackServer server_;  // last: its scripts use the members above
};

// Answers every request with `reply` and closes.
RecordingServer::Answer Always(std::string reply);

// Answers each request by its target, `otherwise` when no reply names it,
// and keeps the connection open for the next.
RecordingServer::Answer ByTarget(std::map<std::string, std::string> replies,
                                 std::string otherwise = "HTTP/1.1 404 Not Found\r\n\r\n");

// A whois server's answer by the query: the query's record, except that
// "silent.test" is never answered (the server waits for the client to give
// up) and "closing.test" is closed on without a word.
Reply ScriptedWhoisReply(const Request& request);

// "HTTP/1.1 CODE Moved" with a Location.
std::string Redirect(int code, const std::string& location);

}  // namespace hostlore::test
