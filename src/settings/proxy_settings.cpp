#include "settings/proxy_settings.h"

#include <iterator>

#include "platform/integer_text.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"

namespace hostlore {

TSocksVersion SocksVersionFromName(std::string_view name) {
    for (std::size_t index = 0; index < std::size(setting::kSocksVersionNames); ++index) {
        if (name == setting::kSocksVersionNames[index]) {
            return static_cast<TSocksVersion>(index);
        }
    }
    return TSocksVersion::svNoSocks;
}

ProxyReading ReadProxySettings(const SettingsStore& store) {
    ProxyReading reading;
    if (!ReadFlagOffUnlessTrue(store, setting::kProxy, setting::kProxyUse)) {
        return reading;
    }
    const auto read = [&store](std::string_view key) {
        return store.ReadString(setting::kProxy, key, "");
    };
    const std::string port = read(setting::kProxyPort);
    const auto portNumber = ParseInteger(port);
    if (!portNumber) {
        reading.ignored = std::string(setting::kProxyPort) + "=" + port;
        return reading;
    }
    TSocksInfo& socks = reading.socks;
    socks.Version = SocksVersionFromName(read(setting::kProxyVersion));
    socks.Host = read(setting::kProxyHost);
    socks.Port = *portNumber;
    socks.UserID = read(setting::kProxyUserId);
    socks.Password = read(setting::kProxyPassword);
    if (!socks.UserID.empty()) {
        socks.Authentication = TSocksAuthentication::saUsernamePassword;
    }
    return reading;
}

}  // namespace hostlore
