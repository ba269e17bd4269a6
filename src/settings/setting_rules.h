#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace hostlore {

// Only the exact word "false" turns such a flag off; a missing key leaves it on.
bool ReadFlagOnUnlessFalse(const SettingsStore& store, std::string_view section,
                           std::string_view key);
// Only the exact word "true" turns such a flag on; a missing key leaves it off.
bool ReadFlagOffUnlessTrue(const SettingsStore& store, std::string_view section,
                           std::string_view key);
// The stored value when it is not empty, else the default.
std::string ReadWithFallback(const SettingsStore& store, std::string_view section,
                             std::string_view key, std::string_view defaultValue);

}  // namespace hostlore
