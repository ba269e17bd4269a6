#include "platform/resolver.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/ares_reverse_engine.h"

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

int LookupErrorCode(int status) {
    switch (status) {
        case EAI_NONAME:
            return 11001;
        case EAI_AGAIN:
            return 11002;
        case EAI_NODATA:
        case EAI_ADDRFAMILY:
            return 11004;
        default:
            return 11003;
    }
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

SystemResolver::SystemResolver() = default;
SystemResolver::~SystemResolver() = default;

HostLookup SystemResolver::LookupName(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;  // one result per address, not one per socket type
    hints.ai_flags = AI_CANONNAME;
    addrinfo* first = nullptr;
    if (const int status = ::getaddrinfo(name.c_str(), nullptr, &hints, &first); status != 0) {
        return {std::nullopt, LookupErrorCode(status)};
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner(first, ::freeaddrinfo);
    HostEntry entry;
    entry.officialName = first->ai_canonname != nullptr ? first->ai_canonname : name;
    entry.ipv6First = first->ai_family == AF_INET6;
    for (const addrinfo* result = first; result != nullptr; result = result->ai_next) {
        if (result->ai_family == AF_INET) {
            const auto* socketAddress = reinterpret_cast<const sockaddr_in*>(result->ai_addr);
            Ipv4Address bytes{};
            std::memcpy(bytes.data(), &socketAddress->sin_addr, bytes.size());
            entry.addresses.push_back(bytes);
        } else if (result->ai_family == AF_INET6) {
            const auto* socketAddress = reinterpret_cast<const sockaddr_in6*>(result->ai_addr);
            Ipv6Address bytes{};
            std::memcpy(bytes.data(), &socketAddress->sin6_addr, bytes.size());
            entry.ipv6Addresses.push_back(bytes);
        }
    }
    return {std::move(entry), 0};
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

std::string Ipv6Text(const Ipv6Address& address) {
    std::array<unsigned, 8> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i] = static_cast<unsigned>(address[2 * i] << 8 | address[2 * i + 1]);
    }
    // The longest run of two or more zero fields gives way to "::", the first
    // of equal runs.
    std::size_t runStart = fields.size();
    std::size_t runLength = 1;
    for (std::size_t i = 0; i < fields.size();) {
        std::size_t end = i;
        while (end < fields.size() && fields[end] == 0) {
            ++end;
        }
        if (end - i > runLength) {
            runStart = i;
            runLength = end - i;
        }
        i = end == i ? i + 1 : end;
    }
    // An IPv4-mapped address keeps its IPv4 part dotted.
    const bool mapped = runStart == 0 && runLength == 5 && fields[5] == 0xffff;
    const std::size_t hexFields = mapped ? 6 : fields.size();
    std::string text;
    for (std::size_t i = 0; i < hexFields; ++i) {
        if (i == runStart) {
            text += "::";
            i += runLength - 1;
            continue;
        }
        if (!text.empty() && !text.ends_with(':')) {
            text += ':';
        }
        char field[5];
        std::snprintf(field, sizeof(field), "%x", fields[i]);
        text += field;
    }
    if (mapped) {
        text += ':';
        text += DottedAddress({address[12], address[13], address[14], address[15]});
    }
    return text;
}

std::optional<Ipv6Address> Ipv6AddressOf(const std::string& text) {
    Ipv6Address address{};
    if (text.find('\0') != std::string::npos ||
        ::inet_pton(AF_INET6, text.c_str(), address.data()) != 1) {
        return std::nullopt;
    }
    return address;
}

}  // namespace hostlore
