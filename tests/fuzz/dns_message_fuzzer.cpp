// A name server's answer taken apart for DNS Records, and the page's cells
// made of its records.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "query/dns_records/dns_message.h"
#include "query/dns_records/dns_record_text.h"

namespace {

using namespace hostlore;

bool HoldsItsTypesValue(const DnsRecord& record) {
    switch (record.type) {
        case dns_type::kA:
        case dns_type::kAaaa:
            return std::holds_alternative<AddressData>(record.value);
        case dns_type::kNs:
        case dns_type::kCname:
            return std::holds_alternative<NameData>(record.value);
        case dns_type::kSoa:
            return std::holds_alternative<SoaData>(record.value);
        case dns_type::kMx:
            return std::holds_alternative<MxData>(record.value);
        case dns_type::kTxt:
            return std::holds_alternative<TxtData>(record.value);
        case dns_type::kCaa:
            return std::holds_alternative<CaaData>(record.value);
        default:
            return false;
    }
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto message =
        ParseDnsMessage(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!message) {
        return 0;
    }
    fuzz::Require(message->rcode >= 0 && message->rcode < 16, "the response code has four bits");
    for (const DnsRecord& record : message->answers) {
        fuzz::Require(HoldsItsTypesValue(record), "each record holds the value of its type");
        fuzz::Require(record.name.find_first_of(" \t\r\n") == std::string::npos &&
                          !HasControlCharacter(record.name),
                      "a name holds no blank or control character");
        const DnsRecordRow row{record.name, "TYPE", record.ttl, record.value, {}};
        for (const std::string& cell : DnsRowCells(row)) {
            fuzz::Require(!HasControlCharacter(cell), "no cell holds a control character");
        }
    }
    return 0;
}
