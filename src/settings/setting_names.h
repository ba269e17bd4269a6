#pragma once

#include <string_view>

// Sections, keys and built-in defaults of settings.ini.
namespace hostlore::setting {

inline constexpr std::string_view kGeneral = "general";
inline constexpr std::string_view kDefaultUrl = "default_url";
inline constexpr std::string_view kGetBrowserUrl = "get_ie";
inline constexpr std::string_view kExecute = "execute";
inline constexpr std::string_view kGoTo = "go_to";
inline constexpr std::string_view kNeighbourCount = "ip_nei";

inline constexpr std::string_view kWhois = "whois";
inline constexpr std::string_view kWhoisServer = "server";
inline constexpr std::string_view kRdapBootstrap = "rdap_bootstrap";
inline constexpr std::string_view kQueriesPerServer = "queries_per_server";
inline constexpr std::string_view kMsBetweenQueries = "ms_between_queries";

inline constexpr std::string_view kDns = "dns";
inline constexpr std::string_view kTrustAnchor = "trust_anchor";

inline constexpr std::string_view kUrl = "url";
inline constexpr std::string_view kSiteInfoName = "site_info";
inline constexpr std::string_view kSiteInfoUrl = "site_info_url";
inline constexpr std::string_view kWhoisSourceName = "whois_source";
inline constexpr std::string_view kWhoisSourceUrl = "whois_source_url";
inline constexpr std::string_view kBackwardLinksName = "backward_links";
inline constexpr std::string_view kBackwardLinksUrl = "backward_links_url";
inline constexpr std::string_view kSimilarPagesName = "similar_pages";
inline constexpr std::string_view kSimilarPagesUrl = "similar_pages_url";

inline constexpr std::string_view kProxy = "proxy";
inline constexpr std::string_view kProxyUse = "use";
inline constexpr std::string_view kProxyHost = "host";
inline constexpr std::string_view kProxyPort = "port";
inline constexpr std::string_view kProxyVersion = "version";
inline constexpr std::string_view kProxyUserId = "uid";
inline constexpr std::string_view kProxyPassword = "pwd";

// The stored names of the SOCKS versions, in the order of TSocksVersion.
inline constexpr std::string_view kSocksVersionNames[] = {"svnosocks", "svsocks4", "svsocks4a",
                                                          "svsocks5"};

inline constexpr std::string_view kHistorySection = "last_url";

inline constexpr std::string_view kTrue = "true";
inline constexpr std::string_view kFalse = "false";

inline constexpr std::string_view kDefaultWebSite = "http://www.wikipedia.org/";
// IANA's server: with it the query finds each domain's registry by itself.
inline constexpr std::string_view kDefaultWhoisServer = "whois.iana.org";
inline constexpr std::string_view kDefaultRdapBootstrap = "https://data.iana.org/rdap/dns.json";
// Debian's root key (dns-root-data), where validation starts.
inline constexpr std::string_view kDefaultTrustAnchor = "/usr/share/dns/root.key";
inline constexpr std::string_view kDefaultGoTo = "General Info";
inline constexpr std::string_view kDefaultNeighbourCount = "20";
inline constexpr std::string_view kDefaultSocksVersion = "svnosocks";

inline constexpr std::string_view kDefaultSiteInfoName = "Alexa";
inline constexpr std::string_view kDefaultWhoisSourceName = "NameIntelligence";
inline constexpr std::string_view kDefaultBackwardLinksName = "Google";
inline constexpr std::string_view kDefaultSimilarPagesName = "Google";

inline constexpr std::string_view kDefaultSiteInfoUrl = "http://www.alexa.com/data/details?url=";
inline constexpr std::string_view kDefaultWhoisSourceUrl = "http://whois.domaintools.com/";
inline constexpr std::string_view kDefaultBackwardLinksUrl =
    "http://www.google.com/search?hl=&ie=&oe=&q=link:";
inline constexpr std::string_view kDefaultSimilarPagesUrl =
    "http://www.google.com/search?hl=&lr=&ie=&oe=&q=related:";

}  // namespace hostlore::setting
