#pragma once

#include "localinfo/network_configuration.h"

namespace hostlore {

// The machine's own configuration: host name and resolver settings, the
// interfaces with their addresses, gateways and DHCP leases.
class LinuxNetworkConfiguration : public NetworkConfigurationSource {
  public:
    NetworkParameters GetNetworkParams() override;
    std::vector<AdapterInfo> GetAdaptersInfo() override;
};

}  // namespace hostlore
