#include "settings/url_history.h"

#include <algorithm>

#include "platform/ascii_text.h"
#include "settings/setting_names.h"

namespace hostlore {

void SaveHistory(SettingsStore& store, const std::vector<std::string>& urls) {
    std::vector<std::string> known = store.ReadSectionEntries(setting::kHistorySection);
    std::vector<std::string> added;
    for (const auto& url : urls) {
        const bool present = std::any_of(known.begin(), known.end(), [&](const std::string& entry) {
            return EqualsIgnoringCase(entry, url);
        });
        if (!present && !url.empty()) {
            known.push_back(url);
            added.push_back(url);
        }
    }
    store.AppendEntries(setting::kHistorySection, added);
    const std::size_t count = store.ReadSectionEntries(setting::kHistorySection).size();
    if (count > kHistoryKept) {
        store.DeleteLeadingEntries(setting::kHistorySection, count - kHistoryKept);
    }
}

std::vector<std::string> LoadHistory(const SettingsStore& store) {
    const auto entries = store.ReadSectionEntries(setting::kHistorySection);
    const std::size_t shown = std::min(entries.size(), kHistoryShown);
    return {entries.rbegin(), entries.rbegin() + static_cast<std::ptrdiff_t>(shown)};
}

}  // namespace hostlore
