#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/connection_race.h"
#include "net/socks_info.h"
#include "net/tcp_connection.h"
#include "platform/resolver.h"

namespace hostlore {

// A TCP connection that opens itself to Host:Port, or, when SocksInfo names a
// version, to a SOCKS server that it then asks for Host:Port. A name's
// addresses of both families are tried in the resolver's order, the next one
// once the one before has failed or had its head start, and the first
// connection made is kept.
class TNetTCPClient : public TNetTCPConnection {
  public:
    explicit TNetTCPClient(std::shared_ptr<Resolver> resolver);

    std::string Host;
    std::int32_t Port = 0;
    std::string BoundIP;  // empty: any local address
    // Off: a request written at once must not wait for the acknowledgement of
    // the one before (TCP_NODELAY).
    bool UseNagle = false;
    TSocksInfo SocksInfo;
    // How long one whole exchange may take, from connecting through a proxy's
    // negotiation to the protocol's last read (-2: without limit).
    int ExchangeTimeoutMs = -2;
    int ConnectHeadStartMs = 250;
    std::function<void()> OnConnected;
    // Why the connection must not go to an address, none when it may; null
    // lets it go anywhere. Opening fails with ENetAddressRefused when no
    // address is left. Through a proxy only a Host given as an address is
    // checked: the proxy resolves names.
    std::function<std::optional<std::string>(const std::string& address)> CheckAddress;

    void OpenConnection();

    // Copies where and how to connect (not the connection itself).
    void CopySettingsFrom(const TNetTCPClient& other);

  protected:
    Resolver& NameResolver() const { return *resolver_; }

  private:
    void ConnectSocket();
    void KeepAllowedPeers(std::vector<PeerAddress>& peers, bool throughSocks) const;

    std::shared_ptr<Resolver> resolver_;
};

}  // namespace hostlore
