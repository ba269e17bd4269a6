#pragma once

#include <string>
#include <string_view>

#include "platform/public_suffix_list.h"
#include "query/connection_settings.h"

namespace hostlore {

// The server that finds the registry by itself: named (or left at the
// default), it puts the query into automatic mode.
inline constexpr std::string_view kIanaWhoisServer = "whois.iana.org";
bool IsAutomaticWhoisServer(const WhoisServerAddress& server);

// What a whois query asks about.
struct WhoisSubject {
    std::string query;       // the text sent; empty: nothing to ask
    bool isAddress = false;  // an IP address, asked first of IANA as a whole
    std::string topLevel;    // the last label, which IANA is asked about
    bool operator==(const WhoisSubject&) const = default;
};

// Automatic mode: the registrable domain by the suffix list, or the whole
// address, of a URL's host.
WhoisSubject AutomaticSubject(std::string_view host, const PublicSuffixList& suffixes);

// A server the user named: the host's last two labels (of an address, its last
// two numbers), as users who name a server have always had it.
WhoisSubject NamedServerSubject(std::string_view host);

}  // namespace hostlore
