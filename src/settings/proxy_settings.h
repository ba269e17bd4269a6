#pragma once

#include <string_view>

#include "net/socks_info.h"
#include "settings/settings_store.h"

namespace hostlore {

// One of the stored version names, compared exactly; any other text is no SOCKS.
TSocksVersion SocksVersionFromName(std::string_view name);

// The SOCKS record both network clients start with. Only when `use` is "true"
// does it take anything from the settings: the version, the server's host and
// port, and the user name and password, offered to a SOCKS 5 server whenever
// the user name is not empty. Fails when the stored port is not an integer.
TSocksInfo ReadProxySettings(const SettingsStore& store);

}  // namespace hostlore
