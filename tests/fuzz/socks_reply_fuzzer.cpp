// A SOCKS server's replies to each kind of exchange the client can hold. The
// first byte picks the exchange; the rest is all the server says.
#include <cstdint>

#include "fuzz_support.h"
#include "net/net_errors.h"
#include "net/socks_negotiation.h"
#include "scripted_peer.h"

namespace {

hostlore::TSocksInfo Exchange(std::uint8_t choice) {
    using namespace hostlore;
    TSocksInfo socks;
    socks.UserID = "user";
    socks.Password = "secret";
    switch (choice % 4) {
        case 0:
            socks.Version = TSocksVersion::svSocks4;
            break;
        case 1:
            socks.Version = TSocksVersion::svSocks4A;
            break;
        case 2:
            socks.Version = TSocksVersion::svSocks5;
            break;
        default:
            socks.Version = TSocksVersion::svSocks5;
            socks.Authentication = TSocksAuthentication::saUsernamePassword;
            break;
    }
    return socks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    const TSocksInfo socks = Exchange(input.TakeByte());
    // SOCKS 4 sends an address; the others send the name.
    const std::string target =
        socks.Version == TSocksVersion::svSocks4 ? "192.0.2.7" : "fuzz.example";
    TNetTCPConnection connection;
    const fuzz::ScriptedPeer server(input.Rest(), connection);
    try {
        const ExchangeDeadline deadline(connection, 1000);
        NegotiateSocks(connection, socks, target, 80, nullptr);
    } catch (const ENetException&) {
        // Refusals and short replies end here, as they do for every connection.
    }
    return 0;
}
