#pragma once

#include <QString>
#include <QStringList>

namespace hostlore {

// Longest line a page shows of what a server sent: laying out one very long
// line costs more than in proportion to its length and would stall the window.
constexpr qsizetype kDisplayLineLength = 4096;

// Starts each shown line that continues a line cut for display.
inline const QString kContinuationMark = QStringLiteral("\u21AA ");

// One line as the lines a page shows: whole when it fits, else cut every
// kDisplayLineLength characters (never inside a surrogate pair), each piece
// after the first marked as a continuation.
QStringList DisplayLines(const QString& line);

}  // namespace hostlore
