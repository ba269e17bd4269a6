#include "app/pages/whois_display_lines.h"

namespace hostlore {

QStringList WhoisDisplayLines(const QString& line) {
    QStringList pieces;
    qsizetype start = 0;
    do {
        qsizetype length = std::min(kWhoisDisplayLineLength, line.size() - start);
        if (start + length < line.size() && line.at(start + length - 1).isHighSurrogate()) {
            --length;
        }
        const QStringView piece = QStringView(line).mid(start, length);
        pieces << (start == 0 ? piece.toString() : kWhoisContinuationMark + piece.toString());
        start += length;
    } while (start < line.size());
    return pieces;
}

}  // namespace hostlore
