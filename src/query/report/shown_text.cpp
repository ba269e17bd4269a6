#include "query/report/shown_text.h"

#include "platform/network_text.h"
#include "platform/user_time_format.h"

namespace hostlore {

QString ShownWhoisLine(std::string_view line) {
    QString text = TextFromNetwork(line);
    if (text.endsWith('\r')) {
        text.chop(1);
    }
    return text;
}

QString ShownLocalReportLine(std::string_view line) {
    QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (text.endsWith('\r')) {
        text.chop(1);
    }
    return text.replace('\r', ' ');
}

std::string RecordExpiryText(std::int64_t expires, std::int64_t now) {
    return "Expires: " + ShortDateOfMoment(expires) + " (" + DaysLeftText(expires, now) + ")";
}

}  // namespace hostlore
