#include "query/connection_settings.h"

#include "net/url_syntax.h"
#include "query/query_rules.h"
#include "settings/proxy_settings.h"
#include "settings/setting_names.h"

namespace hostlore {

namespace {

// The stored queries at once per server (1 or more) and milliseconds between
// their starts (0 or more), each the built-in one when missing or out of range.
ServerManners WhoisManners(const SettingsStore& store) {
    ServerManners manners;
    const int inFlight =
        store.ReadInteger(setting::kWhois, setting::kQueriesPerServer, manners.inFlight);
    const int gapMs = store.ReadInteger(setting::kWhois, setting::kMsBetweenQueries,
                                        static_cast<int>(manners.gap.count()));
    if (inFlight >= 1) {
        manners.inFlight = inFlight;
    }
    if (gapMs >= 0) {
        manners.gap = std::chrono::milliseconds(gapMs);
    }
    return manners;
}

}  // namespace

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
    settings.whoisManners = WhoisManners(store);
    return settings;
}

}  // namespace hostlore
