#pragma once

// platform/: the thin Linux layer; includes no other folder of src/. Its Qt GUI parts
// (message_boxes, save_file_chooser, shell_opener, jpeg_image) build outside the core.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hostlore {

using Ipv4Address = std::array<std::uint8_t, 4>;   // most significant number first
using Ipv6Address = std::array<std::uint8_t, 16>;  // network byte order

// What the resolver knows of a host.
struct HostEntry {
    std::string officialName;
    std::vector<Ipv4Address> addresses;        // in the resolver's order
    std::vector<Ipv6Address> ipv6Addresses{};  // in the resolver's order
    // Whether the resolver ranked an IPv6 address before every IPv4 one, so
    // that connecting tries that family first.
    bool ipv6First = false;
};

// The outcome of a look-up: the entry, or the resolver's failure code in the
// numbering the user sees (11001 host not found, 11002 try again, 11003 no
// recovery, 11004 no data).
struct HostLookup {
    std::optional<HostEntry> entry;
    int errorCode = 0;
};

// The answer to a reverse look-up: the official name, or nothing when the
// address has none or the look-up failed.
using ReverseAnswer = std::function<void(std::optional<std::string> name)>;

// Reverse look-ups that end together, answered without a thread of their own.
// Dropping the batch cancels the look-ups still outstanding; once the drop has
// returned, no answer of the batch runs any more.
class ReverseLookups {
  public:
    virtual ~ReverseLookups() = default;
    // Starts a look-up. `answer` runs once, on a thread of the resolver's,
    // unless the batch is dropped first; it must not drop the batch.
    virtual void Start(const Ipv4Address& address, ReverseAnswer answer) = 0;
};

// The one name resolver of the program. Implementations are safe to call from
// any number of threads at once.
class Resolver {
  public:
    virtual ~Resolver() = default;
    // Both address families in one look-up; a numeric address names itself.
    virtual HostLookup LookupName(const std::string& name) = 0;
    virtual HostLookup LookupAddress(const Ipv4Address& address) = 0;
    // A new batch of asynchronous reverse look-ups. Raises an exception when
    // the look-ups cannot be started at all.
    virtual std::unique_ptr<ReverseLookups> NewReverseLookups() = 0;
};

class AresReverseEngine;

// The system's resolver (hosts file, DNS, as the machine is set up). Its
// reverse batches go through c-ares on one thread for all of them, started
// with the first batch.
class SystemResolver : public Resolver {
  public:
    SystemResolver();
    ~SystemResolver() override;
    SystemResolver(const SystemResolver&) = delete;
    SystemResolver& operator=(const SystemResolver&) = delete;

    HostLookup LookupName(const std::string& name) override;
    HostLookup LookupAddress(const Ipv4Address& address) override;
    std::unique_ptr<ReverseLookups> NewReverseLookups() override;

    // The most reverse look-ups that were in flight at one moment so far.
    std::size_t PeakReverseLookupsInFlight() const;

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<AresReverseEngine> engine_;
};

// Dotted decimal text without leading zeros: "192.0.2.1".
std::string DottedAddress(const Ipv4Address& address);

// The compressed text form of RFC 5952: "2001:db8::1".
std::string Ipv6Text(const Ipv6Address& address);

// The address an IPv6 text names (no brackets, no zone), or nothing.
std::optional<Ipv6Address> Ipv6AddressOf(const std::string& text);

}  // namespace hostlore
