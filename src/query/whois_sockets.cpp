#include "query/whois_sockets.h"

#include "net/net_errors.h"

namespace hostlore {

WhoisSockets::WhoisSockets(const TNetWhois& settings) {
    settings_.CopySettingsFrom(settings);
}

std::string WhoisSockets::AskWhois(const WhoisServer& server, const std::string& query) {
    auto client = std::make_shared<TNetWhois>(nullptr);
    client->CopySettingsFrom(settings_);
    client->Host = server.host;
    client->Port = server.port;
    // A stop that came while this connection was being opened closes it as
    // soon as it is open.
    client->OnConnected = [this, &connection = *client] {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            connection.CloseConnection();
        }
    };
    {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            throw ENetConnClosedGracefully();
        }
        current_ = client;
    }
    return client->QueryDomain(query);
}

void WhoisSockets::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    if (current_) {
        current_->CloseConnection();
    }
}

}  // namespace hostlore
