#include "query/connection_settings.h"

#include "net/url_syntax.h"
#include "query/query_rules.h"
#include "settings/proxy_settings.h"

namespace hostlore {

WhoisServerAddress ParseWhoisServer(std::string_view text) {
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            const std::string_view rest = text.substr(close + 1);
            if (rest.empty()) {
                return {std::string(text.substr(1, close - 1)), 43};
            }
            if (const auto port = ParsePort(rest.substr(1)); rest.front() == ':' && port) {
                return {std::string(text.substr(1, close - 1)), *port};
            }
        }
        return {std::string(text), 43};
    }
    const auto colon = text.find(':');
    // More than one colon: an IPv6 address without brackets, all host.
    if (colon != std::string_view::npos && text.find(':', colon + 1) == std::string_view::npos) {
        if (const auto port = ParsePort(text.substr(colon + 1))) {
            return {std::string(text.substr(0, colon)), *port};
        }
    }
    return {std::string(text), 43};
}

ConnectionSettings ReadConnectionSettings(const SettingsStore& store) {
    ConnectionSettings settings;
    ProxyReading proxy = ReadProxySettings(store);
    settings.socks = std::move(proxy.socks);
    settings.ignoredProxySetting = std::move(proxy.ignored);
    settings.whoisServer = ParseWhoisServer(WhoisServerHost(store));
    settings.rdapBootstrapUrl = RdapBootstrapUrl(store);
    return settings;
}

}  // namespace hostlore
