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

TSocksInfo ReadProxySettings(const SettingsStore& store) {
    TSocksInfo socks;
    if (!ReadFlagOffUnlessTrue(store, setting::kProxy, setting::kProxyUse)) {
        return socks;
    }
    const auto read = [&store](std::string_view key) {
        return store.ReadString(setting::kProxy, key, "");
    };
    socks.Version = SocksVersionFromName(read(setting::kProxyVersion));
    socks.Host = read(setting::kProxyHost);
    socks.Port = IntegerFromText(read(setting::kProxyPort));
    socks.UserID = read(setting::kProxyUserId);
    socks.Password = read(setting::kProxyPassword);
    if (!socks.UserID.empty()) {
        socks.Authentication = TSocksAuthentication::saUsernamePassword;
    }
    return socks;
}

}  // namespace hostlore
