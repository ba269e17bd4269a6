#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace hostlore {

// The settings of one outside web service, in page order: Site Info, Whois
// Source, Backward Links, Similar Pages.
struct ServiceKeys {
    std::string_view name;
    std::string_view defaultName;
    std::string_view url;
    std::string_view defaultUrl;
    bool appendsDomain;  // else the whole URL box text
};

extern const std::array<ServiceKeys, 4> kServiceKeys;

// The caption of a service's page: "Service provided by " and the provider's
// name (the built-in one when the stored name is empty).
std::string ServiceCaption(const SettingsStore& store, const ServiceKeys& service);

// Where a service's pane goes for a query of `url`: the configured prefix
// (or the built-in one when it is empty) and the URL or its domain, appended
// unescaped, with the host in its ASCII form. Empty when the service appends
// a domain and the host part is empty or no valid name.
std::string ServicePageUrl(const SettingsStore& store, const ServiceKeys& service,
                           std::string_view url);

}  // namespace hostlore
