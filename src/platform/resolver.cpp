#include "platform/resolver.h"

#include <netdb.h>

#include <cerrno>
#include <cstring>

#include "platform/ares_reverse_engine.h"
#include "platform/pooled_reverse_lookups.h"

namespace hostlore {

namespace {

int ResolverErrorCode(int hostError) {
    switch (hostError) {
        case HOST_NOT_FOUND:
            return 11001;
        case TRY_AGAIN:
            return 11002;
        case NO_RECOVERY:
            return 11003;
        case NO_DATA:
            return 11004;
        default:
            return 11003;
    }
}

HostEntry EntryOf(const hostent& host) {
    HostEntry entry;
    entry.officialName = host.h_name != nullptr ? host.h_name : "";
    if (host.h_addrtype == AF_INET && host.h_length == 4) {
        for (char** address = host.h_addr_list; *address != nullptr; ++address) {
            Ipv4Address bytes{};
            std::memcpy(bytes.data(), *address, bytes.size());
            entry.addresses.push_back(bytes);
        }
    }
    return entry;
}

// Runs a reentrant look-up, growing its buffer while the resolver asks for more.
template <class Call>
HostLookup Look(Call call) {
    std::vector<char> buffer(4096);
    for (;;) {
        hostent host{};
        hostent* result = nullptr;
        int hostError = 0;
        const int status = call(&host, buffer.data(), buffer.size(), &result, &hostError);
        if (status == ERANGE && buffer.size() < (1u << 24)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0 || result == nullptr) {
            return {std::nullopt, ResolverErrorCode(hostError)};
        }
        return {EntryOf(host), 0};
    }
}

}  // namespace

std::unique_ptr<ReverseLookups> Resolver::NewReverseLookups() {
    return PooledReverseLookups(*this);
}

SystemResolver::SystemResolver() = default;
SystemResolver::~SystemResolver() = default;

HostLookup SystemResolver::LookupName(const std::string& name) {
    return Look([&](hostent* host, char* buffer, std::size_t size, hostent** result, int* error) {
        return ::gethostbyname_r(name.c_str(), host, buffer, size, result, error);
    });
}

HostLookup SystemResolver::LookupAddress(const Ipv4Address& address) {
    return Look([&](hostent* host, char* buffer, std::size_t size, hostent** result, int* error) {
        return ::gethostbyaddr_r(address.data(), address.size(), AF_INET, host, buffer, size,
                                 result, error);
    });
}

std::unique_ptr<ReverseLookups> SystemResolver::NewReverseLookups() {
    std::lock_guard lock(mutex_);
    if (!engine_) {
        // When it cannot start, the next batch tries again.
        engine_ = std::make_unique<AresReverseEngine>();
    }
    return engine_->NewBatch();
}

std::size_t SystemResolver::PeakReverseLookupsInFlight() const {
    std::lock_guard lock(mutex_);
    return engine_ ? engine_->PeakInFlight() : 0;
}

std::string DottedAddress(const Ipv4Address& address) {
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

}  // namespace hostlore
