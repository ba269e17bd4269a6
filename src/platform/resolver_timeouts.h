#pragma once

#include <string_view>

namespace hostlore {

// How long the system's resolver waits for a name server: the "timeout:" and
// "attempts:" of resolv.conf's "options" lines, then of the RES_OPTIONS
// environment variable, with the C library's defaults and limits.
struct ResolverTimeouts {
    int timeoutSeconds = 5;
    int attempts = 2;
};

ResolverTimeouts ReadResolverTimeouts(std::string_view resolvConf, std::string_view resOptions);

// The timeouts of /etc/resolv.conf and this process's RES_OPTIONS.
ResolverTimeouts SystemResolverTimeouts();

}  // namespace hostlore
