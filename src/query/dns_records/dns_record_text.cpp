#include "query/dns_records/dns_record_text.h"

#include <QString>

#include "platform/ascii_text.h"
#include "query/host_names.h"

namespace hostlore {

namespace {

bool IsValidUtf8(const std::string& bytes) {
    return QString::fromUtf8(bytes).toUtf8().toStdString() == bytes;
}

std::string Escaped(unsigned char byte) {
    return {'\\', static_cast<char>('0' + byte / 100), static_cast<char>('0' + byte / 10 % 10),
            static_cast<char>('0' + byte % 10)};
}

// A text from the network in quotes, as a zone file writes it: every control
// character, and every byte of a text that is not UTF-8 beyond ASCII, as
// "\DDD", so that nothing shown can act on a terminal or a label.
std::string Quoted(const std::string& bytes) {
    const bool utf8 = IsValidUtf8(bytes);
    std::string text = "\"";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool c1 = utf8 && byte == 0xC2 && i + 1 < bytes.size() &&
                        static_cast<unsigned char>(bytes[i + 1]) < 0xA0;
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += bytes[i];
        } else if (c1) {
            text += Escaped(byte) + Escaped(static_cast<unsigned char>(bytes[++i]));
        } else if (byte < ' ' || byte == 0x7F || (byte >= 0x80 && !utf8)) {
            text += Escaped(byte);
        } else {
            text += bytes[i];
        }
    }
    return text + "\"";
}

std::string Shown(const std::string& name) {
    return HostNameText(name);
}

struct ValueText {
    std::string operator()(const AddressData& value) const { return value.address; }
    std::string operator()(const NameData& value) const { return Shown(value.name); }
    std::string operator()(const SoaData& value) const {
        return "primary server " + Shown(value.primaryServer) + ", contact " + value.contact +
               ", serial " + std::to_string(value.serial) + ", refresh " +
               std::to_string(value.refresh) + ", retry " + std::to_string(value.retry) +
               ", expire " + std::to_string(value.expire) + ", minimum " +
               std::to_string(value.minimum);
    }
    std::string operator()(const MxData& value) const {
        return std::to_string(value.preference) + " " + Shown(value.exchange);
    }
    std::string operator()(const TxtData& value) const {
        std::string text;
        for (const std::string& part : value.strings) {
            if (!text.empty()) {
                text += ' ';
            }
            text += Quoted(part);
        }
        return text;
    }
    std::string operator()(const CaaData& value) const {
        const std::string tag = Quoted(value.tag);
        return std::to_string(value.flags) + " " + tag.substr(1, tag.size() - 2) + " " +
               Quoted(value.value);
    }
};

}  // namespace

bool IsSpf(const TxtData& value) {
    std::string joined;
    for (const std::string& part : value.strings) {
        joined += part;
    }
    constexpr std::string_view kVersion = "v=spf1";
    return joined.size() >= kVersion.size() &&
           EqualsIgnoringCase(std::string_view(joined).substr(0, kVersion.size()), kVersion) &&
           (joined.size() == kVersion.size() || joined[kVersion.size()] == ' ');
}

std::array<std::string, 4> DnsRowCells(const DnsRecordRow& row) {
    std::string type = row.type;
    if (row.value && std::holds_alternative<TxtData>(*row.value) &&
        IsSpf(std::get<TxtData>(*row.value))) {
        type += " (SPF)";
    }
    return {Shown(row.name), type, row.ttl ? std::to_string(*row.ttl) : std::string(),
            row.value ? std::visit(ValueText{}, *row.value) : row.reason};
}

std::array<std::string, 4> DnssecCells(const DnssecLine& line) {
    std::string state;
    switch (line.state) {
        case DnssecState::Pending:
            state = "not known yet";
            break;
        case DnssecState::Valid:
            state = "signed and valid";
            break;
        case DnssecState::Bogus:
            state = "signed, but the signatures do not validate: " + line.reason;
            break;
        case DnssecState::NotSigned:
            state = "not signed";
            break;
        case DnssecState::NotChecked:
            state = "could not be checked: " + line.reason;
            break;
    }
    return {Shown(line.name), "DNSSEC", {}, state};
}

}  // namespace hostlore
