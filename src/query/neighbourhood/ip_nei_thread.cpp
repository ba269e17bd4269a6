#include "query/neighbourhood/ip_nei_thread.h"

#include <optional>
#include <vector>

#include "net/net_errors.h"
#include "query/host_names.h"
#include "query/neighbourhood/neighbour_items.h"
#include "query/neighbourhood/neighbour_scan.h"
#include "query/neighbourhood/reverse_lookahead.h"
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
        Synchronize([&] { page_.ShowNothingToScan("No IPv4 address to scan around"); });
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
    ListNeighbours(plan);
}

void ip_nei_thread::ListNeighbours(const NeighbourScanPlan& plan) {
    ReverseLookahead lookahead(*resolver_, plan.first, plan.count);
    const auto address = [&](std::uint64_t index) {
        return DottedAddress(AddressOfValue(static_cast<std::uint32_t>(plan.first + index)));
    };
    // Each hand-off names the item that was shown bare, appends every item
    // whose answer is there already and shows the next one bare, so only the
    // newest item is ever bare and slow windows do not hold up the look-ups.
    std::optional<std::string> named;
    for (std::uint64_t index = 0;;) {
        std::vector<std::string> ready;
        while (index < plan.count) {
            const auto name = lookahead.Ready(index);
            if (!name) {
                break;
            }
            ready.push_back(ItemOf(address(index++), *name));
        }
        const std::optional<std::string> bare =
            index < plan.count ? std::optional(address(index)) : std::nullopt;
        Synchronize([&] {
            if (named) {
                page_.ReplaceLastItem(*named);
            }
            for (const auto& item : ready) {
                page_.AppendItem(item);
            }
            if (bare) {
                page_.AppendItem(*bare);
            }
        });
        if (!bare) {
            return;
        }
        const auto name = lookahead.Take(index++, [this] { return Terminated(); });
        if (!name || Terminated()) {
            return;  // a stopped scan starts no more look-ups
        }
        named = ItemOf(*bare, *name);
    }
}

}  // namespace hostlore
