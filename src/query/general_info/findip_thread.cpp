#include "query/general_info/findip_thread.h"

#include "query/host_names.h"
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
        // A name that is not a valid international name is unknown.
        if (const auto name = NetworkHostName(HostPart(url_))) {
            host = resolver_->LookupName(*name).entry;
        }
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
    for (const Ipv6Address& address : host->ipv6Addresses) {
        Synchronize([&] { page_.AddAddressLine(Ipv6Text(address)); });
    }
    // The first IPv4 address decides, whatever else the page may show; the
    // region table knows no IPv6 blocks.
    const std::string region = host->addresses.empty()
                                   ? std::string("IPv6 only")
                                   : region_of_address(DottedAddress(host->addresses.front()));
    Synchronize([&] { page_.SetLocation(region); });
    Synchronize([&] { page_.SetHostName(HostNameText(host->officialName)); });
}

}  // namespace hostlore
