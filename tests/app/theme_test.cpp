#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <cmath>

#include "app/main_window.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

double Luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double lighter = std::max(Luminance(a), Luminance(b));
    const double darker = std::min(Luminance(a), Luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    return dark;
}

// The result text stays readable (4.5:1 at least) on light and dark themes.
TEST(Theme, ResultTextKeepsItsContrastOnLightAndDarkBases) {
    const QPalette original = QApplication::palette();
    for (const QPalette& palette : {original, DarkPalette()}) {
        QApplication::setPalette(palette);
        test::FakeProgram program;
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        Tmain window(program.Services());
        const auto ui = test::Ui(window);
        for (QWidget* result :
             std::initializer_list<QWidget*>{ui.Edit1, ui.Edit4, ui.Memo1, ui.Memo3, ui.url_edit}) {
            const QPalette shown = result->palette();
            EXPECT_GE(Contrast(shown.color(QPalette::Text), shown.color(QPalette::Base)), 4.5)
                << result->objectName().toStdString() << " on "
                << shown.color(QPalette::Base).name().toStdString();
        }
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace hostlore
