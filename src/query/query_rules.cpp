#include "query/query_rules.h"

#include "platform/text_trim.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"

namespace hostlore {

std::string FailedStatusText(std::string_view reason) {
    return "Failed: " + std::string(reason);
}

std::string NormalizedQueryUrl(std::string_view typed) {
    const std::string_view text = TrimControls(typed);
    if (text.find("://") != std::string_view::npos) {
        return std::string(text);
    }
    return "http://" + std::string(text);
}

int PageIndexOfName(std::string_view name) {
    for (std::size_t i = 0; i < kPageNames.size(); ++i) {
        if (kPageNames[i] == name) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

int PageAfterQuery(const SettingsStore& store) {
    return PageIndexOfName(
        store.ReadString(setting::kGeneral, setting::kGoTo, setting::kDefaultGoTo));
}

std::string WhoisServerHost(const SettingsStore& store) {
    return ReadWithFallback(store, setting::kWhois, setting::kWhoisServer,
                            setting::kDefaultWhoisServer);
}

}  // namespace hostlore
