#include "query/findip_thread.h"

#include "query/url_parts.h"
#include "region/whereis.h"

namespace hostlore {

findip_thread::findip_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                             GeneralInfoView& page, std::shared_ptr<Resolver> resolver)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      resolver_(std::move(resolver)) {}

void findip_thread::Execute() {
    std::optional<HostEntry> host;
    try {
        host = resolver_->LookupName(HostPart(url_)).entry;
    } catch (...) {
        // Treated like a host that does not resolve.
    }
    if (!host) {
        Synchronize([&] { page_.ShowWebsiteMissing(); });
        return;
    }
    for (const Ipv4Address& address : host->addresses) {
        Synchronize([&] { page_.AddAddressLine(DottedAddress(address)); });
    }
    // The first address decides, whatever else the page may show.
    const std::string region = region_of_address(
        host->addresses.empty() ? std::string() : DottedAddress(host->addresses.front()));
    Synchronize([&] { page_.SetLocation(region); });
    Synchronize([&] { page_.SetHostName(host->officialName); });
}

}  // namespace hostlore
