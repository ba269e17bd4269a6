#pragma once

#include <chrono>
#include <memory>
#include <mutex>

#include "net/tcp_client.h"
#include "platform/resolver.h"
#include "query/connection_settings.h"
#include "query/whois/server_turns.h"
#include "query/whois/whois_chain.h"

namespace hostlore {

// A whois chain's conversations: whois over port 43 and RDAP's HTTP GETs,
// each through the query's proxy and resolver, each in its server's turn,
// all within the chain's deadline together, and all stoppable at once from
// another thread.
class ChainConnections : public WhoisAsker, public RdapFetcher {
  public:
    // A body past this fails, as a whois reply past its limit does.
    static constexpr std::size_t kMaxRdapBytes = std::size_t{64} << 20;

    ChainConnections(ConnectionSettings connection, std::shared_ptr<Resolver> resolver,
                     std::shared_ptr<ServerTurns> turns);

    // Through a proxy the answer's address is unknown: the peer is the proxy.
    ReplyFrom AskWhois(const WhoisServerAddress& server, const std::string& query,
                       const AddressCheck& check) override;
    // The body of a 2xx reply, or of an RDAP error object (404 and the like),
    // over https only from a server whose certificate passes the check;
    // other replies fail.
    std::string Get(const std::string& url, std::string_view accept) override;

    // Breaks off the conversation under way; every later one fails at once.
    void Stop();
    bool Stopped() const;

  private:
    // Makes `client` the connection a stop closes, through the proxy; fails
    // once stopped.
    void Begin(const std::shared_ptr<TNetTCPClient>& client);
    // Waits for the server's turn; fails once stopped.
    ServerTurns::Turn AwaitTurn(const std::string& server);
    // The time one exchange may take: `limit`, or less when less of the
    // chain's deadline is left; fails when none is.
    int ExchangeLimitMs(int limit) const;
    // Runs one exchange, counting its time against the chain's deadline.
    template <class Exchange>
    auto Timed(const Exchange& exchange);

    const ConnectionSettings connection_;
    const std::shared_ptr<Resolver> resolver_;
    const std::shared_ptr<ServerTurns> turns_;
    // Only the chain's own thread counts it.
    std::chrono::steady_clock::duration spent_{};
    mutable std::mutex mutex_;
    std::shared_ptr<TNetTCPClient> current_;
    bool stopped_ = false;
};

}  // namespace hostlore
