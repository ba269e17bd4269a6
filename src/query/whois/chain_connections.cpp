#include "query/whois/chain_connections.h"

#include "net/http_client.h"
#include "net/net_errors.h"
#include "net/whois_client.h"
#include "query/host_names.h"

namespace hostlore {

ChainConnections::ChainConnections(ConnectionSettings connection,
                                   std::shared_ptr<Resolver> resolver)
    : connection_(std::move(connection)), resolver_(std::move(resolver)) {}

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
    auto client = std::make_shared<TNetWhois>(resolver_);
    client->Host = server.host;
    client->Port = server.port;
    client->ExchangeTimeoutMs = connection_.whoisDeadlineMs;
    client->CheckAddress = check;
    Begin(client);
    std::string reply = client->QueryDomain(query);
    const bool proxied = connection_.socks.Version != TSocksVersion::svNoSocks;
    return {std::move(reply), proxied ? std::string() : client->RepliedFrom};
}

std::string ChainConnections::Get(const std::string& url, std::string_view accept) {
    auto client = std::make_shared<TNetHTTP>(resolver_);
    client->ExchangeTimeoutMs = connection_.httpDeadlineMs;
    client->Request.Accept = std::string(accept);
    client->RequireValidCertificate = true;
    client->NetworkURL = UrlWithNetworkHost;
    Begin(client);
    std::string body = client->SendGet(url, kMaxRdapBytes);
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
