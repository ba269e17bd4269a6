#include "support/fake_resolver.h"

#include <arpa/inet.h>

#include <cstring>

#include "support/pooled_reverse_lookups.h"

namespace hostlore::test {

std::unique_ptr<ReverseLookups> FakeResolver::NewReverseLookups() {
    return PooledReverseLookups(*this);
}

void FakeResolver::Add(const std::string& name, HostEntry entry) {
    std::lock_guard lock(mutex_);
    hosts_[name] = std::move(entry);
}

void FakeResolver::HoldLookupsAt(std::shared_ptr<Gate> gate) {
    std::lock_guard lock(mutex_);
    gate_ = std::move(gate);
}

HostLookup FakeResolver::LookupName(const std::string& name) {
    std::shared_ptr<Gate> gate;
    {
        std::lock_guard lock(mutex_);
        asked_.push_back(name);
        gate = gate_;
    }
    if (gate) {
        gate->Wait();
    }
    std::lock_guard lock(mutex_);
    const auto found = hosts_.find(name);
    if (found != hosts_.end()) {
        return {found->second, 0};
    }
    // Like the system's resolver, a numeric address names itself.
    in_addr numeric{};
    if (::inet_pton(AF_INET, name.c_str(), &numeric) == 1) {
        Ipv4Address address{};
        std::memcpy(address.data(), &numeric.s_addr, address.size());
        return {HostEntry{name, {address}}, 0};
    }
    if (const auto address = Ipv6AddressOf(name)) {
        return {HostEntry{name, {}, {*address}, true}, 0};
    }
    return {std::nullopt, 11001};
}

HostLookup FakeResolver::LookupAddress(const Ipv4Address& address) {
    std::lock_guard lock(mutex_);
    for (const auto& [name, entry] : hosts_) {
        for (const auto& known : entry.addresses) {
            if (known == address) {
                return {HostEntry{entry.officialName, {address}}, 0};
            }
        }
    }
    return {std::nullopt, 11001};
}

std::vector<std::string> FakeResolver::AskedNames() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

}  // namespace hostlore::test
