#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/socks_info.h"
#include "settings/settings_store.h"

namespace hostlore {

// A whois server as the settings name it: a host, and the port when the text
// ends in ":PORT" ("[ADDRESS]:PORT" for an IPv6 address).
struct WhoisServerAddress {
    std::string host;
    std::int32_t port = 43;

    bool operator==(const WhoisServerAddress&) const = default;
};

WhoisServerAddress ParseWhoisServer(std::string_view text);

// Where and how a query's clients connect. Read from the settings at start-up
// and again after the options are saved; each query copies it.
struct ConnectionSettings {
    static constexpr int kNoDeadline = -2;

    TSocksInfo socks;
    WhoisServerAddress whoisServer;
    // Each for the whole exchange; the whois page's stop button ends a whois
    // query that has none.
    int httpDeadlineMs = 30'000;
    int whoisDeadlineMs = kNoDeadline;
};

// Fails as the proxy settings do when the stored port is not an integer.
ConnectionSettings ReadConnectionSettings(const SettingsStore& store);

}  // namespace hostlore
