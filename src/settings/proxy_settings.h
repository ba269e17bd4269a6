#pragma once

#include <string>
#include <string_view>

#include "net/socks_info.h"
#include "settings/settings_store.h"

namespace hostlore {

// One of the stored version names, compared exactly; any other text is no SOCKS.
TSocksVersion SocksVersionFromName(std::string_view name);

// What the proxy settings give the network clients, and the setting that had
// to be ignored, as "port=TEXT", or nothing.
struct ProxyReading {
    TSocksInfo socks;
    std::string ignored;
};

// The SOCKS record both network clients start with. Only when `use` is "true"
// does it take anything from the settings: the version, the server's host and
// port, and the user name and password, offered to a SOCKS 5 server whenever
// the user name is not empty. A port that is no integer leaves the whole
// record unset rather than stopping start-up.
ProxyReading ReadProxySettings(const SettingsStore& store);

}  // namespace hostlore
