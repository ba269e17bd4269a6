#include "localinfo/network_report.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "platform/date_time.h"
#include "platform/system_error.h"
#include "platform/time_zone.h"
#include "platform/user_time_format.h"

namespace hostlore {

namespace {

std::string AddressListText(const std::vector<AddressEntry>& entries) {
    std::string text;
    for (const auto& entry : entries) {
        text += "A: " + entry.IpAddress + " M: " + entry.IpMask + "\r";
    }
    return text;
}

// A list held in the record has at least its first entry, maybe empty.
std::string HeldListText(const std::vector<AddressEntry>& entries) {
    return entries.empty() ? AddressListText({AddressEntry{}}) : AddressListText(entries);
}

std::string HardwareAddressText(const std::vector<std::uint8_t>& address) {
    std::string text;
    for (const std::uint8_t byte : address) {
        char pair[4];
        std::snprintf(pair, sizeof(pair), "%02X", byte);
        if (!text.empty()) {
            text += '-';
        }
        text += pair;
    }
    return text;
}

std::string LongTimeText(int secondsOfDay) {
    return FormatInUserLocale(T_FMT, "%H:%M:%S", TmOf(0, secondsOfDay));
}

}  // namespace

std::vector<std::string> NetworkParameterLines(const NetworkParameters& parameters) {
    std::vector<std::string> lines;
    lines.push_back("Host name: " + parameters.HostName);
    lines.push_back("Domain name: " + parameters.DomainName);
    lines.push_back("Current DNS Server: " + (parameters.CurrentDnsServer
                                                  ? parameters.CurrentDnsServer->IpAddress
                                                  : std::string("(none)")));
    const std::vector<AddressEntry> servers = parameters.DnsServerList.empty()
                                                  ? std::vector<AddressEntry>{AddressEntry{}}
                                                  : parameters.DnsServerList;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        lines.push_back("DNS " + std::to_string(i + 1) + ": " + servers[i].IpAddress);
    }
    lines.push_back("Scope ID: " + parameters.ScopeId);
    lines.push_back("Routing: " + std::to_string(parameters.EnableRouting));
    lines.push_back("Proxy: " + std::to_string(parameters.EnableProxy));
    lines.push_back("DNS: " + std::to_string(parameters.EnableDns));
    return lines;
}

std::vector<std::string> AdapterLines(const std::vector<AdapterInfo>& adapters) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < adapters.size(); ++i) {
        const AdapterInfo& adapter = adapters[i];
        lines.push_back("Adapter " + std::to_string(i + 1));
        lines.push_back("   ComboIndex: " + std::to_string(adapter.ComboIndex));
        lines.push_back("   Adapter name: " + adapter.AdapterName);
        lines.push_back("   Description: " + adapter.Description);
        lines.push_back("   Adapter address: " + HardwareAddressText(adapter.Address));
        lines.push_back("   Index: " + std::to_string(adapter.Index));
        lines.push_back("   Type: " + std::to_string(adapter.Type));
        lines.push_back("   DHCP: " + std::to_string(adapter.DhcpEnabled));
        lines.push_back("   Current IP: " + (adapter.CurrentIpAddress
                                                 ? AddressListText({*adapter.CurrentIpAddress})
                                                 : std::string()));
        lines.push_back("   IP addresses: " + HeldListText(adapter.IpAddressList));
        for (const auto& address : adapter.Ipv6AddressList) {
            lines.push_back("   IPv6 address: " + address.IpAddress + "/" +
                            std::to_string(address.PrefixLength));
        }
        lines.push_back("   Gateways: " + HeldListText(adapter.GatewayList));
        for (const auto& gateway : adapter.Ipv6DefaultGateways) {
            lines.push_back("   IPv6 default gateway: " + gateway);
        }
        lines.push_back("   DHCP servers: " + HeldListText(adapter.DhcpServer));
        lines.push_back("   Has WINS: " + std::to_string(adapter.HaveWins));
        lines.push_back("   Primary WINS: " + HeldListText(adapter.PrimaryWinsServer));
        lines.push_back("   Secondary WINS: " + HeldListText(adapter.SecondaryWinsServer));
        lines.push_back("   Lease obtained: " + LeaseTimeText(adapter.LeaseObtained));
        lines.push_back("   Lease expires: " + LeaseTimeText(adapter.LeaseExpires));
        lines.emplace_back();
    }
    return lines;
}

std::string DateTimeText(double value) {
    const auto milliseconds = static_cast<std::int64_t>(std::llround(value * 86'400'000.0));
    const auto secondsOfDay =
        static_cast<int>((milliseconds % 86'400'000 + 86'400'000) % 86'400'000 / 1000);
    std::string text = ShortDateText(value);
    if (secondsOfDay != 0) {
        text += ' ';
        text += LongTimeText(secondsOfDay);
    }
    return text;
}

std::string LeaseTimeText(std::int32_t seconds) {
    if (seconds == 0) {
        return {};
    }
    const double utc = seconds / 86400.0 + kUnixEpochDay;
    const auto zone = GetTimeZoneInformation();
    if (!zone) {
        throw ESystemError(errno != 0 ? errno : EINVAL);
    }
    const bool standard = zone->State == TimeZoneState::Standard;
    const int shift = zone->Bias + (standard ? zone->StandardBias : zone->DaylightBias);
    const std::string& name = standard ? zone->StandardName : zone->DaylightName;
    return DateTimeText(utc - shift / 1440.0) + " " + name;
}

}  // namespace hostlore
