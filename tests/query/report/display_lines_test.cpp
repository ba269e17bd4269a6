#include "query/report/display_lines.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace hostlore {
namespace {

TEST(DisplayLines, CutsLongLinesAndMarksTheContinuations) {
    const QString a4095(4095, 'a');
    const QString mark = kContinuationMark;
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    const struct {
        const char* name;
        QString line;
        QStringList expected;
    } cases[] = {
        {"empty", "", {""}},
        {"short", "Registrar: Test", {"Registrar: Test"}},
        {"at the bound", a4095 + "b", {a4095 + "b"}},
        {"one over", a4095 + "bc", {a4095 + "b", mark + "c"}},
        {"three pieces", a4095 + "b" + a4095 + "bc", {a4095 + "b", mark + a4095 + "b", mark + "c"}},
        {"pair across the bound", a4095 + smile, {a4095, mark + smile}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayLines(c.line), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace hostlore
