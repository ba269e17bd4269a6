#include "query/report/display_lines.h"

namespace hostlore {

QStringList DisplayLines(const QString& line) {
    QStringList pieces;
    qsizetype start = 0;
    do {
        qsizetype length = std::min(kDisplayLineLength, line.size() - start);
        if (start + length < line.size() && line.at(start + length - 1).isHighSurrogate()) {
            --length;
        }
        const QStringView piece = QStringView(line).mid(start, length);
        pieces << (start == 0 ? piece.toString() : kContinuationMark + piece.toString());
        start += length;
    } while (start < line.size());
    return pieces;
}

}  // namespace hostlore
