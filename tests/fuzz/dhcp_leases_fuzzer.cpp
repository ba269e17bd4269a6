// Lease files of dhclient and systemd-networkd, as any program on the machine
// may have left them.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "localinfo/dhcp_leases.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    const std::string interface = input.TakeLine();
    const std::string_view content = input.Rest();
    ParseDhclientLeases(content, interface);
    const std::int64_t writtenAt = 1'700'000'000;
    if (const auto lease = ParseNetworkdLease(content, writtenAt)) {
        fuzz::Require(lease->obtained == writtenAt, "a networkd lease is obtained when written");
        fuzz::Require(lease->expires == 0 || lease->expires >= writtenAt,
                      "a networkd lease expires after it is obtained");
    }
    return 0;
}
