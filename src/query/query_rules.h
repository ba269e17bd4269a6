#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace hostlore {

inline constexpr std::string_view kStatusWorking = "Working, Please Wait...";
inline constexpr std::string_view kStatusDone = "Done!";

// The status of a whois query or a scan that failed: "Failed: " and the reason.
std::string FailedStatusText(std::string_view reason);

// The pages in page order. The settings name a page by its caption, so a new
// page goes anywhere without changing what a stored name means.
enum PageIndex : int {
    kGeneralInfoPage,
    kDnsRecordsPage,
    kWebServerPage,
    kWhoisInfoPage,
    kSiteInfoPage,  // the first of the four service pages
    kWhoisSourcePage,
    kBackwardLinksPage,
    kSimilarPagesPage,
    kNeighbourhoodPage,
    kLocalNetworkPage,
    kPageCount
};

// Page captions in page order; the go_to setting names one of them.
inline constexpr std::array<std::string_view, kPageCount> kPageNames = {
    "General Info", "DNS Records",    "Web Server",    "Whois Info",      "Site Info",
    "Whois Source", "Backward Links", "Similar Pages", "IP Neighborhood", "Local Network Info"};

// The typed text without the blanks and control characters around it (a pasted
// address often brings some); then a text without "://" gets "http://" in
// front, and anything else stays as it is.
std::string NormalizedQueryUrl(std::string_view text);

// The index of the page named exactly (letter case included); 0 for any other text.
int PageIndexOfName(std::string_view name);

// The page a query brings to the front.
int PageAfterQuery(const SettingsStore& store);

// The whois server a query asks: the stored one, or the built-in default when empty.
std::string WhoisServerHost(const SettingsStore& store);

// Where a query finds the RDAP bootstrap file for domains: the stored URL, or
// IANA's when empty.
std::string RdapBootstrapUrl(const SettingsStore& store);

}  // namespace hostlore
