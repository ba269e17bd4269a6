#pragma once

#include <string>

#include "net/net_errors.h"

namespace hostlore {

// Root of the failures of a SOCKS exchange.
class ENetSocksError : public ENetException {
  public:
    using ENetException::ENetException;
};

// A name, user ID or password that no SOCKS message can carry.
class ENetSocksValueTooLong : public ENetSocksError {
  public:
    explicit ENetSocksValueTooLong(const std::string& what)
        : ENetSocksError(what + " is longer than the 255 bytes a socks server accepts.") {}
};

class ENetSocksUnknownError : public ENetSocksError {
  public:
    ENetSocksUnknownError() : ENetSocksError("Unknown socks error.") {}
};

class ENetSocksRequestFailed : public ENetSocksError {
  public:
    ENetSocksRequestFailed() : ENetSocksError("Request rejected or failed.") {}
};

class ENetSocksRequestServerFailed : public ENetSocksError {
  public:
    ENetSocksRequestServerFailed()
        : ENetSocksError("Request rejected because SOCKS server cannot connect.") {}
};

class ENetSocksRequestIdentFailed : public ENetSocksError {
  public:
    ENetSocksRequestIdentFailed()
        : ENetSocksError(
              "Request rejected because the client program and identd report different "
              "user-ids.") {}
};

class ENetSocksAuthMethodError : public ENetSocksError {
  public:
    ENetSocksAuthMethodError() : ENetSocksError("Invalid socks authentication method.") {}
};

class ENetSocksAuthError : public ENetSocksError {
  public:
    ENetSocksAuthError() : ENetSocksError("Authentication error to socks server.") {}
};

class ENetSocksServerRespondError : public ENetSocksError {
  public:
    ENetSocksServerRespondError() : ENetSocksError("Socks server did not respond.") {}
};

class ENetSocksServerGeneralError : public ENetSocksError {
  public:
    ENetSocksServerGeneralError() : ENetSocksError("General SOCKS server failure.") {}
};

class ENetSocksServerPermissionError : public ENetSocksError {
  public:
    ENetSocksServerPermissionError() : ENetSocksError("Connection not allowed by ruleset.") {}
};

class ENetSocksServerNetUnreachableError : public ENetSocksError {
  public:
    ENetSocksServerNetUnreachableError() : ENetSocksError("Network unreachable.") {}
};

class ENetSocksServerHostUnreachableError : public ENetSocksError {
  public:
    ENetSocksServerHostUnreachableError() : ENetSocksError("Host unreachable.") {}
};

class ENetSocksServerConnectionRefusedError : public ENetSocksError {
  public:
    ENetSocksServerConnectionRefusedError() : ENetSocksError("Connection refused.") {}
};

class ENetSocksServerTTLExpiredError : public ENetSocksError {
  public:
    ENetSocksServerTTLExpiredError() : ENetSocksError("TTL expired.") {}
};

class ENetSocksServerCommandError : public ENetSocksError {
  public:
    ENetSocksServerCommandError() : ENetSocksError("Command not supported.") {}
};

class ENetSocksServerAddressError : public ENetSocksError {
  public:
    ENetSocksServerAddressError() : ENetSocksError("Address type not supported.") {}
};

}  // namespace hostlore
