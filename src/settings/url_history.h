#pragma once

#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace hostlore {

inline constexpr std::size_t kHistoryKept = 50;
inline constexpr std::size_t kHistoryShown = 8;

// Adds the URLs the history does not hold yet (compared without regard to
// case), in list order, then keeps only the newest entries.
void SaveHistory(SettingsStore& store, const std::vector<std::string>& urls);

// The newest entries, newest first.
std::vector<std::string> LoadHistory(const SettingsStore& store);

}  // namespace hostlore
