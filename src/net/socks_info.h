#pragma once

#include <cstdint>
#include <string>

namespace hostlore {

enum class TSocksVersion { svNoSocks, svSocks4, svSocks4A, svSocks5 };
enum class TSocksAuthentication { saNoAuthentication, saUsernamePassword };

// The SOCKS settings every TCP client owns; with no version a connection goes
// straight to its target.
struct TSocksInfo {
    TSocksVersion Version = TSocksVersion::svNoSocks;
    std::string Host;
    std::int32_t Port = 0;
    std::string UserID;
    std::string Password;
    TSocksAuthentication Authentication = TSocksAuthentication::saNoAuthentication;
};

}  // namespace hostlore
