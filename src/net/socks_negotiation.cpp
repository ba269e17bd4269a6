#include "net/socks_negotiation.h"

#include "net/net_stack.h"
#include "net/socks_errors.h"

namespace hostlore {

namespace {

constexpr std::size_t kLongestValue = 255;

constexpr char kSocks4 = 4;
constexpr char kSocks5 = 5;
constexpr char kConnect = 1;
constexpr unsigned char kSocks4Granted = 90;
constexpr char kNoAuthentication = 0;
constexpr char kUsernamePassword = 2;
constexpr char kPasswordVersion = 1;
constexpr char kDomainName = 3;

void CheckLength(const std::string& value, const char* what) {
    if (value.size() > kLongestValue) {
        throw ENetSocksValueTooLong(what);
    }
}

unsigned char ByteAt(const std::string& bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

void AppendPort(std::string& message, std::int32_t port) {
    message += static_cast<char>((port >> 8) & 0xFF);
    message += static_cast<char>(port & 0xFF);
}

// A length byte, then the bytes.
void AppendCounted(std::string& message, const std::string& value) {
    message += static_cast<char>(value.size());
    message += value;
}

void Send(TNetTCPConnection& connection, const std::string& message) {
    connection.SendBytes(message.data(), static_cast<std::int32_t>(message.size()));
}

std::string Receive(TNetTCPConnection& connection, std::size_t count) {
    std::string bytes(count, '\0');
    connection.ReceiveExact(bytes.data(), static_cast<std::int32_t>(count));
    return bytes;
}

// A SOCKS 5 server that does not answer in full fails the same way whatever
// became of the connection.
std::string ReceiveSocks5(TNetTCPConnection& connection, std::size_t count) {
    try {
        return Receive(connection, count);
    } catch (const ENetException&) {
        throw ENetSocksServerRespondError();
    }
}

void NegotiateSocks4(TNetTCPConnection& connection, const TSocksInfo& socks,
                     const std::string& targetHost, std::int32_t targetPort, Resolver* resolver) {
    const bool sendName = socks.Version == TSocksVersion::svSocks4A;
    std::string request{kSocks4, kConnect};
    AppendPort(request, targetPort);
    if (sendName) {
        // An address no host has: the server resolves the name that follows.
        request.append({0, 0, 0, 1});
    } else {
        const auto address =
            TNetStack::DottedAddressOf(TNetStack::ResolveAddress(targetHost, resolver));
        request.append(address->begin(), address->end());
    }
    request += socks.UserID;
    request += '\0';
    if (sendName) {
        request += targetHost;
        request += '\0';
    }
    Send(connection, request);
    const std::string reply = Receive(connection, 8);
    switch (ByteAt(reply, 1)) {
        case kSocks4Granted:
            return;
        case 91:
            throw ENetSocksRequestFailed();
        case 92:
            throw ENetSocksRequestServerFailed();
        case 93:
            throw ENetSocksRequestIdentFailed();
        default:
            throw ENetSocksUnknownError();
    }
}

void ThrowForSocks5ReplyCode(unsigned char code) {
    switch (code) {
        case 0:
            return;
        case 1:
            throw ENetSocksServerGeneralError();
        case 2:
            throw ENetSocksServerPermissionError();
        case 3:
            throw ENetSocksServerNetUnreachableError();
        case 4:
            throw ENetSocksServerHostUnreachableError();
        case 5:
            throw ENetSocksServerConnectionRefusedError();
        case 6:
            throw ENetSocksServerTTLExpiredError();
        case 7:
            throw ENetSocksServerCommandError();
        case 8:
            throw ENetSocksServerAddressError();
        default:
            throw ENetSocksUnknownError();
    }
}

// How many bytes of a reply follow its 5-byte head, by the address type.
std::size_t Socks5ReplyTail(const std::string& head) {
    switch (ByteAt(head, 3)) {
        case 1:  // IPv4: 3 more address bytes and the port
            return 5;
        case kDomainName:
            return ByteAt(head, 4) + std::size_t{2};
        case 4:  // IPv6: 15 more address bytes and the port
            return 17;
        default:
            throw ENetSocksUnknownError();
    }
}

void NegotiateSocks5(TNetTCPConnection& connection, const TSocksInfo& socks,
                     const std::string& targetHost, std::int32_t targetPort) {
    const bool withPassword = socks.Authentication == TSocksAuthentication::saUsernamePassword;
    const char method = withPassword ? kUsernamePassword : kNoAuthentication;
    Send(connection, std::string{kSocks5, 1, method});
    if (ReceiveSocks5(connection, 2)[1] != method) {
        throw ENetSocksAuthMethodError();
    }
    if (withPassword) {
        std::string login{kPasswordVersion};
        AppendCounted(login, socks.UserID);
        AppendCounted(login, socks.Password);
        Send(connection, login);
        if (ReceiveSocks5(connection, 2)[1] != 0) {
            throw ENetSocksAuthError();
        }
    }
    // The target always goes as a name, also a dotted address.
    std::string request{kSocks5, kConnect, 0, kDomainName};
    AppendCounted(request, targetHost);
    AppendPort(request, targetPort);
    Send(connection, request);
    const std::string head = ReceiveSocks5(connection, 5);
    ThrowForSocks5ReplyCode(ByteAt(head, 1));
    ReceiveSocks5(connection, Socks5ReplyTail(head));
}

}  // namespace

void CheckSocksValueLengths(const TSocksInfo& socks, const std::string& targetHost) {
    switch (socks.Version) {
        case TSocksVersion::svNoSocks:
            return;
        case TSocksVersion::svSocks4:
            CheckLength(socks.UserID, "The socks user ID");
            return;
        case TSocksVersion::svSocks4A:
            CheckLength(socks.UserID, "The socks user ID");
            CheckLength(targetHost, "The host name");
            return;
        case TSocksVersion::svSocks5:
            CheckLength(targetHost, "The host name");
            if (socks.Authentication == TSocksAuthentication::saUsernamePassword) {
                CheckLength(socks.UserID, "The socks user name");
                CheckLength(socks.Password, "The socks password");
            }
            return;
    }
}

void NegotiateSocks(TNetTCPConnection& connection, const TSocksInfo& socks,
                    const std::string& targetHost, std::int32_t targetPort, Resolver* resolver) {
    switch (socks.Version) {
        case TSocksVersion::svNoSocks:
            return;
        case TSocksVersion::svSocks4:
        case TSocksVersion::svSocks4A:
            NegotiateSocks4(connection, socks, targetHost, targetPort, resolver);
            return;
        case TSocksVersion::svSocks5:
            NegotiateSocks5(connection, socks, targetHost, targetPort);
            return;
    }
}

}  // namespace hostlore
