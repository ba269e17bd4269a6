#pragma once

#include <array>
#include <string_view>

#include "app/options/options_dialog.h"
#include "settings/setting_names.h"

// What the options dialog's tables of controls hold; shared by its layout and
// its handlers.
namespace hostlore {

// A service's name or URL prefix field, the key it shows and its default.
struct ServiceField {
    const char* name;
    QLineEdit* Toptions::*field;
    std::string_view key;
    std::string_view defaultValue;
};

inline constexpr std::array<ServiceField, 8> kServiceFields = {{
    {"Edit3", &Toptions::Edit3, setting::kSiteInfoName, setting::kDefaultSiteInfoName},
    {"Edit4", &Toptions::Edit4, setting::kSiteInfoUrl, setting::kDefaultSiteInfoUrl},
    {"Edit5", &Toptions::Edit5, setting::kWhoisSourceName, setting::kDefaultWhoisSourceName},
    {"Edit6", &Toptions::Edit6, setting::kWhoisSourceUrl, setting::kDefaultWhoisSourceUrl},
    {"Edit7", &Toptions::Edit7, setting::kBackwardLinksName, setting::kDefaultBackwardLinksName},
    {"Edit8", &Toptions::Edit8, setting::kBackwardLinksUrl, setting::kDefaultBackwardLinksUrl},
    {"Edit13", &Toptions::Edit13, setting::kSimilarPagesName, setting::kDefaultSimilarPagesName},
    {"Edit14", &Toptions::Edit14, setting::kSimilarPagesUrl, setting::kDefaultSimilarPagesUrl},
}};

// A field that must hold an integer, checked when the focus leaves it and on
// OK, and the text a refused value gives way to. The port may stay empty: the
// proxy is then not used.
struct IntegerField {
    QLineEdit* Toptions::*field;
    std::string_view fallback;
    bool mayBeEmpty;
};

inline constexpr std::array<IntegerField, 2> kIntegerFields = {{
    {&Toptions::Edit2, setting::kDefaultNeighbourCount, false},
    {&Toptions::Edit10, "", true},
}};

// The entries of the SOCKS version list and the names they are stored as.
struct SocksVersionEntry {
    const char* shown;
    std::string_view stored;
};

inline constexpr std::array<SocksVersionEntry, 4> kSocksVersions = {{
    {"No Socks", setting::kDefaultSocksVersion},
    {"Socks 4", "svsocks4"},
    {"Socks 4A", "svsocks4a"},
    {"Socks 5", "svsocks5"},
}};

// The left list: the default server first; the regional registry of Asia and
// the Pacific stands twice, as the list always had it.
inline constexpr std::array<std::string_view, 8> kCommonWhoisServers = {
    setting::kDefaultWhoisServer,
    "whois.networksolutions.com",
    "whois.verisign-grs.com",
    "whois.arin.net",
    "whois.ripe.net",
    "whois.apnic.net",
    "whois.apnic.net",
    "whois.lacnic.net"};

// The right list: national and special-purpose registries.
inline constexpr std::array<std::string_view, 9> kRegistryWhoisServers = {
    "whois.nic.uk",   "whois.denic.de", "whois.afnic.fr",     "whois.jprs.jp",   "whois.cira.ca",
    "whois.cnnic.cn", "whois.eu",       "whois.educause.edu", "whois.dotgov.gov"};

}  // namespace hostlore
