#pragma once

#include <string>
#include <vector>

#include "localinfo/network_configuration.h"

namespace hostlore {

// The lines of the "Local Network Parameters" report.
std::vector<std::string> NetworkParameterLines(const NetworkParameters& parameters);

// The lines of the "Local Adapter Information" report: 18 per adapter, the
// last of them empty, and one more per IPv6 address and IPv6 default gateway.
// Address lists end every entry in a carriage return.
std::vector<std::string> AdapterLines(const std::vector<AdapterInfo>& adapters);

// A lease time as local date and time with the zone's name; empty for 0.
std::string LeaseTimeText(std::int32_t seconds);

// A date-time in the user's short date format, then the long time format
// unless the time is exactly midnight.
std::string DateTimeText(double value);

}  // namespace hostlore
