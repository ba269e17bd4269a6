#include "query/whois/chain_connections.h"

#include "net/http_client.h"
#include "net/net_errors.h"
#include "net/whois_client.h"
#include "query/host_names.h"
#include "query/url_parts.h"
#include "query/whois/whois_referrals.h"

namespace hostlore {

ChainConnections::ChainConnections(ConnectionSettings connection,
                                   std::shared_ptr<Resolver> resolver,
                                   std::shared_ptr<ServerTurns> turns)
    : connection_(std::move(connection)),
      resolver_(std::move(resolver)),
      turns_(std::move(turns)) {}

ServerTurns::Turn ChainConnections::AwaitTurn(const std::string& server) {
    auto turn = turns_->Await(server, connection_.whoisManners, [this] { return Stopped(); });
    if (!turn) {
        throw ENetConnClosedGracefully();
    }
    return std::move(*turn);
}

int ChainConnections::ExchangeLimitMs(int limit) const {
    if (connection_.whoisDeadlineMs == kNoLimit) {
        return limit;
    }
    const auto left = connection_.whoisDeadlineMs -
                      std::chrono::duration_cast<std::chrono::milliseconds>(spent_).count();
    if (left <= 0) {
        throw ENetReadTimedOut();
    }
    const int leftMs = static_cast<int>(left);
    return limit == kNoLimit ? leftMs : std::min(limit, leftMs);
}

template <class Exchange>
auto ChainConnections::Timed(const Exchange& exchange) {
    const auto start = std::chrono::steady_clock::now();
    struct Count {
        ChainConnections& connections;
        std::chrono::steady_clock::time_point start;
        ~Count() { connections.spent_ += std::chrono::steady_clock::now() - start; }
    } count{*this, start};
    return exchange();
}

void ChainConnections::Begin(const std::shared_ptr<TNetTCPClient>& client) {
    client->SocksInfo = connection_.socks;
    // A stop that came while the connection was being opened closes it as
    // soon as it is open.
    client->OnConnected = [this, &opened = *client] {
        if (Stopped()) {
            opened.CloseConnection();
        }
    };
    std::lock_guard lock(mutex_);
    if (stopped_) {
        throw ENetConnClosedGracefully();
    }
    current_ = client;
}

ReplyFrom ChainConnections::AskWhois(const WhoisServerAddress& server, const std::string& query,
                                     const AddressCheck& check) {
    const ServerTurns::Turn turn = AwaitTurn("whois " + WhoisServerName(server));
    auto client = std::make_shared<TNetWhois>(resolver_);
    client->Host = server.host;
    client->Port = server.port;
    client->ExchangeTimeoutMs = ExchangeLimitMs(kNoLimit);
    client->CheckAddress = check;
    Begin(client);
    std::string reply = Timed([&] { return client->QueryDomain(query); });
    const bool proxied = connection_.socks.Version != TSocksVersion::svNoSocks;
    return {std::move(reply), proxied ? std::string() : client->RepliedFrom};
}

std::string ChainConnections::Get(const std::string& url, std::string_view accept) {
    const ServerTurns::Turn turn = AwaitTurn("web " + HostPart(url));
    auto client = std::make_shared<TNetHTTP>(resolver_);
    client->ExchangeTimeoutMs = ExchangeLimitMs(connection_.httpDeadlineMs);
    client->Request.Accept = std::string(accept);
    client->RequireValidCertificate = true;
    client->NetworkURL = UrlWithNetworkHost;
    Begin(client);
    std::string body = Timed([&] { return client->SendGet(url, kMaxRdapBytes); });
    const bool rdapError = client->ReplyCode / 100 == 4 &&
                           client->ReplyHeaders.ContentType.find("json") != std::string::npos;
    if (client->ReplyCode / 100 != 2 && !rdapError) {
        throw ENetProtocolReplyError(client->ReplyText, client->ReplyCode);
    }
    return body;
}

void ChainConnections::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    if (current_) {
        current_->CloseConnection();
    }
}

bool ChainConnections::Stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

}  // namespace hostlore
