#include "query/dns_records/dns_message.h"

#include <arpa/inet.h>

#include <array>

namespace hostlore {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kMostNameLength = 255;

class Reader {
  public:
    explicit Reader(std::string_view packet) : packet_(packet) {}

    bool Has(std::size_t at, std::size_t count) const {
        return at <= packet_.size() && count <= packet_.size() - at;
    }
    std::uint8_t Byte(std::size_t at) const { return static_cast<std::uint8_t>(packet_[at]); }
    std::uint16_t Short(std::size_t at) const {
        return static_cast<std::uint16_t>((Byte(at) << 8) | Byte(at + 1));
    }
    std::uint32_t Long(std::size_t at) const {
        return (std::uint32_t{Short(at)} << 16) | Short(at + 2);
    }
    std::string_view Bytes(std::size_t at, std::size_t count) const {
        return packet_.substr(at, count);
    }

    // The labels of the name at `at`; `end` is set past it where it stands.
    // Pointers lead only backwards, so no name can loop.
    std::optional<std::vector<std::string>> Name(std::size_t at, std::size_t& end) const {
        std::vector<std::string> labels;
        std::size_t length = 1;
        bool jumped = false;
        for (std::size_t limit = at;;) {
            if (!Has(at, 1)) {
                return std::nullopt;
            }
            const std::uint8_t size = Byte(at);
            if ((size & 0xC0) == 0xC0) {
                if (!Has(at, 2)) {
                    return std::nullopt;
                }
                const std::size_t target = Short(at) & 0x3FFF;
                if (!jumped) {
                    end = at + 2;
                    jumped = true;
                }
                if (target >= limit) {
                    return std::nullopt;
                }
                at = limit = target;
                continue;
            }
            if ((size & 0xC0) != 0 || !Has(at + 1, size)) {
                return std::nullopt;
            }
            if (size == 0) {
                if (!jumped) {
                    end = at + 1;
                }
                return labels;
            }
            length += size + 1;
            if (length > kMostNameLength) {
                return std::nullopt;
            }
            labels.emplace_back(Bytes(at + 1, size));
            at += 1 + size;
        }
    }

  private:
    std::string_view packet_;
};

// A label as a zone file writes it; `dotsToo` escapes its dots.
std::string LabelText(std::string_view label, bool dotsToo = true) {
    std::string text;
    for (const char c : label) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c == '.' && dotsToo) || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte <= ' ' || byte >= 0x7F) {
            const std::array<char, 5> digits = {'\\', static_cast<char>('0' + byte / 100),
                                                static_cast<char>('0' + byte / 10 % 10),
                                                static_cast<char>('0' + byte % 10), 0};
            text += digits.data();
        } else {
            text += c;
        }
    }
    return text;
}

std::string NameText(const std::vector<std::string>& labels, std::size_t from = 0) {
    if (from >= labels.size()) {
        return ".";
    }
    std::string text;
    for (std::size_t i = from; i < labels.size(); ++i) {
        if (i > from) {
            text += '.';
        }
        text += LabelText(labels[i]);
    }
    return text;
}

// The mailbox of an SOA: its first label is the local part, dots and all.
std::string ContactText(const std::vector<std::string>& labels) {
    if (labels.empty()) {
        return {};
    }
    return LabelText(labels.front(), false) + "@" + NameText(labels, 1);
}

std::optional<DnsValue> ValueOf(const Reader& packet, std::uint16_t type, std::size_t at,
                                std::size_t size) {
    const std::size_t end = at + size;
    std::size_t after = 0;
    const auto name = [&](std::size_t from) { return packet.Name(from, after); };
    switch (type) {
        case dns_type::kA:
        case dns_type::kAaaa: {
            const bool v4 = type == dns_type::kA;
            if (size != (v4 ? 4U : 16U)) {
                return std::nullopt;
            }
            std::array<char, INET6_ADDRSTRLEN> text{};
            ::inet_ntop(v4 ? AF_INET : AF_INET6, packet.Bytes(at, size).data(), text.data(),
                        text.size());
            return AddressData{text.data()};
        }
        case dns_type::kNs:
        case dns_type::kCname: {
            const auto target = name(at);
            if (!target || after != end) {
                return std::nullopt;
            }
            return NameData{NameText(*target)};
        }
        case dns_type::kSoa: {
            const auto primary = name(at);
            if (!primary) {
                return std::nullopt;
            }
            const auto mailbox = name(after);
            if (!mailbox || after + 20 != end) {
                return std::nullopt;
            }
            return SoaData{NameText(*primary),     ContactText(*mailbox),  packet.Long(after),
                           packet.Long(after + 4), packet.Long(after + 8), packet.Long(after + 12),
                           packet.Long(after + 16)};
        }
        case dns_type::kMx: {
            if (size < 3) {
                return std::nullopt;
            }
            const auto exchange = name(at + 2);
            if (!exchange || after != end) {
                return std::nullopt;
            }
            return MxData{packet.Short(at), NameText(*exchange)};
        }
        case dns_type::kTxt: {
            TxtData value;
            for (std::size_t next = at; next < end; next += 1 + packet.Byte(next)) {
                if (next + 1 + packet.Byte(next) > end) {
                    return std::nullopt;
                }
                value.strings.emplace_back(packet.Bytes(next + 1, packet.Byte(next)));
            }
            return value;
        }
        case dns_type::kCaa: {
            if (size < 2 || 2U + packet.Byte(at + 1) > size) {
                return std::nullopt;
            }
            const std::size_t tagSize = packet.Byte(at + 1);
            return CaaData{packet.Byte(at), std::string(packet.Bytes(at + 2, tagSize)),
                           std::string(packet.Bytes(at + 2 + tagSize, size - 2 - tagSize))};
        }
        default:
            return std::nullopt;
    }
}

bool Known(std::uint16_t type) {
    switch (type) {
        case dns_type::kA:
        case dns_type::kAaaa:
        case dns_type::kNs:
        case dns_type::kCname:
        case dns_type::kSoa:
        case dns_type::kMx:
        case dns_type::kTxt:
        case dns_type::kCaa:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<DnsMessage> ParseDnsMessage(std::string_view bytes) {
    const Reader packet(bytes);
    if (!packet.Has(0, kHeaderSize)) {
        return std::nullopt;
    }
    DnsMessage message;
    message.rcode = packet.Byte(3) & 0x0F;
    const std::uint16_t questions = packet.Short(4);
    const std::uint16_t answers = packet.Short(6);
    std::size_t at = kHeaderSize;
    for (std::uint16_t i = 0; i < questions; ++i) {
        if (!packet.Name(at, at) || !packet.Has(at, 4)) {
            return std::nullopt;
        }
        at += 4;
    }
    for (std::uint16_t i = 0; i < answers; ++i) {
        const auto owner = packet.Name(at, at);
        if (!owner || !packet.Has(at, 10)) {
            return std::nullopt;
        }
        const std::uint16_t type = packet.Short(at);
        const std::uint32_t ttl = packet.Long(at + 4);
        const std::size_t size = packet.Short(at + 8);
        at += 10;
        if (!packet.Has(at, size)) {
            return std::nullopt;
        }
        if (Known(type)) {
            auto value = ValueOf(packet, type, at, size);
            if (!value) {
                return std::nullopt;
            }
            message.answers.push_back({NameText(*owner), type, ttl, std::move(*value)});
        }
        at += size;
    }
    return message;
}

}  // namespace hostlore
