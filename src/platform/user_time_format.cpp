#include "platform/user_time_format.h"

#include <locale.h>

namespace hostlore {

std::string FormatInUserLocale(nl_item pattern, const char* fallback, const std::tm& time) {
    locale_t userLocale = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (userLocale == static_cast<locale_t>(nullptr)) {
        userLocale = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    const char* userPattern = ::nl_langinfo_l(pattern, userLocale);
    const char* used = userPattern != nullptr && *userPattern != '\0' ? userPattern : fallback;
    char text[256] = {};
    const std::size_t length = ::strftime_l(text, sizeof(text), used, &time, userLocale);
    ::freelocale(userLocale);
    return std::string(text, length);
}

}  // namespace hostlore
