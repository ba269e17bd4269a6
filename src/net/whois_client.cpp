#include "net/whois_client.h"

#include "net/net_errors.h"

namespace hostlore {

TNetWhois::TNetWhois(std::shared_ptr<Resolver> resolver) : TNetTCPClient(std::move(resolver)) {
    Port = 43;
}

std::string TNetWhois::QueryDomain(const std::string& domain) {
    const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
    OpenConnection();
    RepliedFrom = Socket().PeerIp();
    std::string reply;
    try {
        SendLine(domain);
        reply = ReceiveAll(MaxReplyBytes);
    } catch (...) {
        CloseConnection();
        throw;
    }
    CloseConnection();
    if (reply.empty()) {
        throw ENetNoReply();
    }
    return reply;
}

}  // namespace hostlore
