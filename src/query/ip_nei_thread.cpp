#include "query/ip_nei_thread.h"

#include "net/net_errors.h"
#include "query/host_names.h"
#include "query/neighbour_items.h"
#include "query/neighbour_scan.h"
#include "query/reverse_lookahead.h"
#include "query/url_parts.h"
#include "settings/setting_names.h"

namespace hostlore {

namespace {

std::string ItemOf(const std::string& address, const ReverseLookahead::Name& name) {
    return NamedNeighbourItem(address, name ? *name : kNoNeighbourName);
}

}  // namespace

ip_nei_thread::ip_nei_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                             NeighbourhoodView& page, SettingsStore settings,
                             std::shared_ptr<Resolver> resolver, std::optional<std::string> count)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      settings_(std::move(settings)),
      resolver_(std::move(resolver)),
      count_(std::move(count)) {}

void ip_nei_thread::Execute() {
    HostLookup lookup;
    try {
        if (const auto name = NetworkHostName(HostPart(url_))) {
            lookup = resolver_->LookupName(*name);
        } else {
            lookup = {std::nullopt, 11001};
        }
    } catch (...) {
        lookup = {std::nullopt, 11001};
    }
    if (lookup.entry && lookup.entry->addresses.empty() && !lookup.entry->ipv6Addresses.empty()) {
        // The scan walks IPv4 neighbours only.
        Synchronize([&] {
            page_.ClearList();
            page_.AppendItem("No IPv4 address to scan around");
        });
        return;
    }
    if (!lookup.entry || lookup.entry->addresses.empty()) {
        // The list of another host must not stand under this query.
        Synchronize([&] { page_.ClearList(); });
        throw ENetSocketError(lookup.errorCode != 0 ? lookup.errorCode : 11004);
    }
    const HostEntry& host = *lookup.entry;
    const auto neighbours = NeighbourCount(
        count_ ? *count_ : settings_.ReadString(setting::kGeneral, setting::kNeighbourCount, "20"));
    if (!neighbours) {
        return;
    }
    const NeighbourScanPlan plan = PlanNeighbourScan(host.addresses.front(), *neighbours);
    if (plan.kind == NeighbourScanPlan::Kind::KeepList) {
        return;
    }
    Synchronize([&] { page_.ClearList(); });
    if (plan.kind == NeighbourScanPlan::Kind::EmptyList) {
        return;
    }
    ReverseLookahead lookahead(resolver_, plan.first, plan.count);
    for (std::uint64_t index = 0; index < plan.count; ++index) {
        const std::string address =
            DottedAddress(AddressOfValue(static_cast<std::uint32_t>(plan.first + index)));
        if (const auto name = lookahead.Ready(index)) {
            Synchronize([&] { page_.AppendItem(ItemOf(address, *name)); });
            continue;
        }
        Synchronize([&] { page_.AppendItem(address); });
        const auto name = lookahead.Take(index, [this] { return Terminated(); });
        if (!name) {
            return;
        }
        Synchronize([&] { page_.ReplaceLastItem(ItemOf(address, *name)); });
    }
}

}  // namespace hostlore
