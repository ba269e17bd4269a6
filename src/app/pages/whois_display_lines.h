#pragma once

#include <QString>
#include <QStringList>

namespace hostlore {

// Longest memo line the Whois Info page shows: laying out one very long line
// costs more than in proportion to its length and would stall the window.
constexpr qsizetype kWhoisDisplayLineLength = 4096;

// Starts each memo line that continues a line cut for display.
inline const QString kWhoisContinuationMark = QStringLiteral("\u21AA ");

// One reply line as memo lines: whole when it fits, else cut every
// kWhoisDisplayLineLength characters (never inside a surrogate pair), each
// piece after the first marked as a continuation.
QStringList WhoisDisplayLines(const QString& line);

}  // namespace hostlore
