#include "query/service_panes/service_urls.h"

#include "query/host_names.h"
#include "query/url_parts.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"

namespace hostlore {

const std::array<ServiceKeys, 4> kServiceKeys = {{
    {setting::kSiteInfoName, setting::kDefaultSiteInfoName, setting::kSiteInfoUrl,
     setting::kDefaultSiteInfoUrl, false},
    {setting::kWhoisSourceName, setting::kDefaultWhoisSourceName, setting::kWhoisSourceUrl,
     setting::kDefaultWhoisSourceUrl, true},
    {setting::kBackwardLinksName, setting::kDefaultBackwardLinksName, setting::kBackwardLinksUrl,
     setting::kDefaultBackwardLinksUrl, false},
    {setting::kSimilarPagesName, setting::kDefaultSimilarPagesName, setting::kSimilarPagesUrl,
     setting::kDefaultSimilarPagesUrl, false},
}};

std::string ServiceCaption(const SettingsStore& store, const ServiceKeys& service) {
    return "Service provided by " +
           ReadWithFallback(store, setting::kUrl, service.name, service.defaultName);
}

std::string ServicePageUrl(const SettingsStore& store, const ServiceKeys& service,
                           std::string_view url) {
    // The host goes in its ASCII form; the service never sees what was typed.
    std::string part = UrlWithNetworkHost(url).value_or(std::string(url));
    if (service.appendsDomain) {
        const auto host = NetworkHostName(HostPart(url));
        if (!host) {
            return {};
        }
        part = DomainPart(*host);
    }
    return ReadWithFallback(store, setting::kUrl, service.url, service.defaultUrl) + part;
}

}  // namespace hostlore
