#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hostlore {

namespace dns_type {
inline constexpr std::uint16_t kA = 1;
inline constexpr std::uint16_t kNs = 2;
inline constexpr std::uint16_t kCname = 5;
inline constexpr std::uint16_t kSoa = 6;
inline constexpr std::uint16_t kMx = 15;
inline constexpr std::uint16_t kTxt = 16;
inline constexpr std::uint16_t kAaaa = 28;
inline constexpr std::uint16_t kDnskey = 48;
inline constexpr std::uint16_t kCaa = 257;
}  // namespace dns_type

// The value of a record, field by field. Names are in their ASCII form,
// without the final dot; bytes of a label that a host name cannot hold are
// written as in a zone file ("\.", "\\", "\DDD").
struct AddressData {
    std::string address;  // dotted, or IPv6 in its compressed form
    bool operator==(const AddressData&) const = default;
};
struct NameData {  // the target of a CNAME, the server of an NS
    std::string name;
    bool operator==(const NameData&) const = default;
};
struct SoaData {
    std::string primaryServer;
    std::string contact;  // as a mail address: "hostmaster@example.com"
    std::uint32_t serial = 0;
    std::uint32_t refresh = 0;
    std::uint32_t retry = 0;
    std::uint32_t expire = 0;
    std::uint32_t minimum = 0;
    bool operator==(const SoaData&) const = default;
};
struct MxData {
    std::uint16_t preference = 0;
    std::string exchange;
    bool operator==(const MxData&) const = default;
};
struct TxtData {
    std::vector<std::string> strings;  // each as it came, bytes and all
    bool operator==(const TxtData&) const = default;
};
struct CaaData {
    std::uint8_t flags = 0;
    std::string tag;
    std::string value;
    bool operator==(const CaaData&) const = default;
};
using DnsValue = std::variant<AddressData, NameData, SoaData, MxData, TxtData, CaaData>;

struct DnsRecord {
    std::string name;
    std::uint16_t type = 0;
    std::uint32_t ttl = 0;
    DnsValue value;
    bool operator==(const DnsRecord&) const = default;
};

// The answer section of a reply, with the records of the types above; the
// signatures and the other types are left out.
struct DnsMessage {
    int rcode = 0;
    std::vector<DnsRecord> answers;
};

// Nothing when the packet is not a well-formed DNS message.
std::optional<DnsMessage> ParseDnsMessage(std::string_view packet);

}  // namespace hostlore
