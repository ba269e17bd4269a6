#pragma once

#include <filesystem>

#include "localinfo/network_configuration.h"

namespace hostlore {

// The files the machine's name and resolver settings are read from.
struct NetworkConfigurationFiles {
    std::filesystem::path hosts = "/etc/hosts";
    std::filesystem::path resolvConf = "/etc/resolv.conf";
    // The servers behind systemd-resolved's local stub.
    std::filesystem::path resolvedResolvConf = "/run/systemd/resolve/resolv.conf";
    std::filesystem::path nsswitchConf = "/etc/nsswitch.conf";
    // The kernel's IPv6 routes, where the default gateways are found.
    std::filesystem::path ipv6Routes = "/proc/net/ipv6_route";
};

// The machine's own configuration: host name and resolver settings, the
// interfaces with their addresses, gateways and DHCP leases.
class LinuxNetworkConfiguration : public NetworkConfigurationSource {
  public:
    explicit LinuxNetworkConfiguration(NetworkConfigurationFiles files = {});

    NetworkParameters GetNetworkParams() override;
    std::vector<AdapterInfo> GetAdaptersInfo() override;

  private:
    NetworkConfigurationFiles files_;
};

}  // namespace hostlore
