#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/socks_info.h"
#include "net/wait_limit.h"
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

// How politely one server is asked: at most `inFlight` queries at once, and
// at least `gap` between the starts of two.
struct ServerManners {
    int inFlight = 2;
    std::chrono::milliseconds gap{1000};
};

// Where and how a query's clients connect. Read from the settings at start-up
// and again after the options are saved; each query copies it.
struct ConnectionSettings {
    TSocksInfo socks;
    WhoisServerAddress whoisServer;
    std::string rdapBootstrapUrl;
    // The header request's, for the whole exchange; the whois chain's, for
    // all its exchanges together (the time spent waiting for a server's turn
    // aside). The whois page's stop button ends a whois query that has none.
    int httpDeadlineMs = 30'000;
    int whoisDeadlineMs = kNoLimit;
    ServerManners whoisManners;
    // A proxy setting that had to be ignored, as "port=TEXT"; the proxy is
    // then unset.
    std::string ignoredProxySetting;
};

ConnectionSettings ReadConnectionSettings(const SettingsStore& store);

}  // namespace hostlore
