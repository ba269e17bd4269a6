#include "settings/setting_rules.h"

#include "settings/setting_names.h"

namespace hostlore {

bool ReadFlagOnUnlessFalse(const SettingsStore& store, std::string_view section,
                           std::string_view key) {
    return store.ReadString(section, key, setting::kTrue) != setting::kFalse;
}

bool ReadFlagOffUnlessTrue(const SettingsStore& store, std::string_view section,
                           std::string_view key) {
    return store.ReadString(section, key, setting::kFalse) == setting::kTrue;
}

std::string ReadWithFallback(const SettingsStore& store, std::string_view section,
                             std::string_view key, std::string_view defaultValue) {
    std::string value = store.ReadString(section, key, defaultValue);
    return value.empty() ? std::string(defaultValue) : value;
}

}  // namespace hostlore
