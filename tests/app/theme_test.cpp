#include <gtest/gtest.h>

#include <QApplication>
#include <QHash>
#include <QPalette>
#include <QTest>
#include <algorithm>

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/palette_text.h"
#include "query/query_rules.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

QPalette DarkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    dark.setColor(QPalette::HighlightedText, QColor(0x1e, 0x1e, 0x1e));
    return dark;
}

// A light theme whose highlight is too pale to mark anything on its own.
QPalette PaleHighlightPalette() {
    QPalette light(QColor(0xfc, 0xfc, 0xfc), QColor(0xef, 0xf0, 0xf1));
    light.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    return light;
}

QRgb Commonest(const QHash<QRgb, int>& counts) {
    auto best = counts.cbegin();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        best = it.value() > best.value() ? it : best;
    }
    return best.key();
}

// What a rendered area shows, read from its pixels alone. The background is
// the colour most of them have; the foreground is the colour of the pixels
// that stand out from it: smoothed edges blend into the background, so it is
// the colour that the most contrasting fifth of them reach.
struct Rendered {
    QColor background;
    QColor foreground;
    int standingOut = 0;  // pixels that reach the required ratio to the background

    Rendered(const QImage& image, const QRect& area, double required) {
        QHash<QRgb, int> counts;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                ++counts[image.pixel(x, y)];
            }
        }
        background = QColor(Commonest(counts));
        std::vector<std::pair<double, QRgb>> distinct;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            const double ratio = ContrastRatio(QColor(it.key()), background);
            if (ratio >= 1.5) {
                distinct.insert(distinct.end(), static_cast<std::size_t>(it.value()),
                                {ratio, it.key()});
            }
            standingOut += ratio >= required ? it.value() : 0;
        }
        std::sort(distinct.begin(), distinct.end());
        foreground =
            distinct.empty() ? background : QColor(distinct[distinct.size() * 4 / 5].second);
    }
};

std::string Describe(const QWidget* widget, const Rendered& shown) {
    return widget->objectName().toStdString() + " " + widget->metaObject()->className() + " in " +
           (widget->parentWidget() ? widget->parentWidget()->metaObject()->className() : "") +
           ": " + shown.foreground.name().toStdString() + " on " +
           shown.background.name().toStdString();
}

// Checks that `widget`, as rendered, stands out from its background by `required`.
void ExpectReadable(QWidget* widget, double required, int minimumPixels, QRect area = QRect()) {
    const QImage image = widget->grab().toImage();
    const Rendered shown(image, area.isNull() ? image.rect() : area, required);
    EXPECT_GE(ContrastRatio(shown.foreground, shown.background), required)
        << Describe(widget, shown);
    EXPECT_GE(shown.standingOut, minimumPixels) << Describe(widget, shown);
}

TEST(ContrastRatio, GivesTheKnownRatiosOfRelativeLuminance) {
    const std::tuple<QColor, QColor, double> known[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::black, 21.0},
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
        {QColor(0, 0, 128), Qt::white, 16.0},
        {Qt::red, Qt::white, 4.0},
        {QColor(0x2b, 0x2b, 0x2b), QColor(0x2b, 0x2b, 0x2b), 1.0},
    };
    for (const auto& [first, second, ratio] : known) {
        EXPECT_NEAR(ContrastRatio(first, second), ratio, 0.01)
            << first.name().toStdString() << " / " << second.name().toStdString();
    }
}

class Theme : public ::testing::Test {
  protected:
    void TearDown() override { QApplication::setPalette(original); }

    void Use(const QPalette& palette) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
    }

    const QPalette original = QApplication::palette();
    test::FakeProgram program;
};

// The palettes are switched while the window is up: a theme changed on a
// running desktop must show at once.
TEST_F(Theme, IconsAreDrawnInThePalettesTextColourAndFollowItsChanges) {
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    Tmain window(program.Services());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PageControl* pages = test::Ui(window).cxPageControl1;
    for (const QPalette& palette : {original, DarkPalette(), original}) {
        Use(palette);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QCoreApplication::processEvents();
            for (QToolButton* button : window.findChildren<QToolButton*>()) {
                if (button->isVisible() && !button->icon().isNull()) {
                    ExpectReadable(button, 3, 12);
                }
            }
            // The tab's 16-pixel picture stands 4 pixels above its lower end.
            VerticalTab* tab = pages->tab(page);
            ExpectReadable(tab, 3, 12, QRect((tab->width() - 16) / 2, tab->height() - 20, 16, 16));
        }
    }
}

TEST_F(Theme, ResultTextKeepsItsContrastOnLightAndDarkBases) {
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    Tmain window(program.Services());
    const auto ui = test::Ui(window);
    ui.url_edit->setEditText(QStringLiteral("http://www.hostlore.example/"));
    ui.Edit1->setText(QStringLiteral("United States"));
    ui.Edit4->setText(QStringLiteral("www.hostlore.example"));
    ui.Memo1->setPlainText(QStringLiteral("12.1.1.1\n12.1.1.2"));
    ui.Memo3->setPlainText(QStringLiteral("Domain Name: HOSTLORE.EXAMPLE\nRegistrar: Example"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const QPalette& palette : {original, DarkPalette(), original}) {
        Use(palette);
        ui.cxPageControl1->setCurrentIndex(0);
        QCoreApplication::processEvents();
        for (QWidget* result : std::initializer_list<QWidget*>{ui.Edit1, ui.Edit4, ui.Memo1}) {
            ExpectReadable(result, 4.5, 30);
        }
        ExpectReadable(ui.url_edit->lineEdit(), 4.5, 30);
        ui.cxPageControl1->setCurrentIndex(kWhoisInfoPage);
        QCoreApplication::processEvents();
        ExpectReadable(ui.Memo3, 4.5, 30);
    }
}

TEST_F(Theme, TheAboutBoxKeepsItsWhiteBannerAndANavyLinkReadableOnADarkTheme) {
    test::RecordingShell shell;
    for (const QPalette& palette : {original, DarkPalette()}) {
        Use(palette);
        Tabout about(shell, QStringLiteral("https://hostlore.example/"));
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        const QImage shown = about.grab().toImage();
        auto* version = about.findChild<QLabel*>(QStringLiteral("Version"));
        ASSERT_NE(version, nullptr);
        for (QWidget* text : std::initializer_list<QWidget*>{version, about.Label4}) {
            const Rendered inBox(shown, QRect(text->mapTo(&about, QPoint()), text->size()), 4.5);
            EXPECT_GE(ContrastRatio(inBox.foreground, inBox.background), 4.5)
                << Describe(text, inBox);
            EXPECT_GE(inBox.standingOut, 15) << Describe(text, inBox);
        }
        EXPECT_EQ(QColor(shown.pixel(version->mapTo(&about, QPoint(1, 1)))), QColor(Qt::white));
    }
    Use(original);
    Tabout light(shell, QStringLiteral("https://hostlore.example/"));
    EXPECT_EQ(light.Label4->palette().color(QPalette::WindowText), QColor(0, 0, 128));
}

// What a mark added to a tab's picture looks like, read from the pixels
// that changed by 3:1 at least against what they covered: how many they are,
// their commonest colour (the mark's), and how many borders of the mark's
// pixels with differently coloured ones reach 3:1 too.
struct Mark {
    int changed = 0;
    int strong = 0;
    QColor colour;
    int borders = 0;
    int clearBorders = 0;

    Mark(const QImage& without, const QImage& with) {
        QHash<QRgb, int> colours;
        for (int y = 0; y < with.height(); ++y) {
            for (int x = 0; x < with.width(); ++x) {
                changed += with.pixel(x, y) != without.pixel(x, y) ? 1 : 0;
                if (ContrastRatio(QColor(with.pixel(x, y)), QColor(without.pixel(x, y))) >= 3) {
                    ++strong;
                    ++colours[with.pixel(x, y)];
                }
            }
        }
        if (strong == 0) {
            return;
        }
        const QRgb mark = Commonest(colours);
        colour = QColor(mark);
        for (int y = 0; y < with.height(); ++y) {
            for (int x = 0; x < with.width(); ++x) {
                if (with.pixel(x, y) != mark) {
                    continue;
                }
                for (const QPoint next :
                     {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)}) {
                    if (with.rect().contains(next) && with.pixel(next) != mark) {
                        ++borders;
                        clearBorders += ContrastRatio(colour, QColor(with.pixel(next))) >= 3;
                    }
                }
            }
        }
    }
};

std::string Describe(const Mark& mark) {
    return std::to_string(mark.strong) + " of " + std::to_string(mark.changed) +
           " changed pixels stand out, in " + mark.colour.name().toStdString() + "; " +
           std::to_string(mark.clearBorders) + " of " + std::to_string(mark.borders) +
           " borders clear";
}

// The selected look is what the tab gains when its page is shown; the focus
// mark what it gains beyond that when the tab bar takes the focus. Both must
// stand out from what they cover and from the tab.
TEST_F(Theme, TheSelectedTabAndTheFocusMarkStandOutAndDifferFromEachOther) {
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    for (const QPalette& palette : {original, DarkPalette(), PaleHighlightPalette()}) {
        Use(palette);
        Tmain window(program.Services());
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        const auto ui = test::Ui(window);
        VerticalTab* tab = ui.cxPageControl1->tab(2);
        ui.url_edit->setFocus();
        ui.cxPageControl1->setCurrentIndex(3);
        QCoreApplication::processEvents();
        const QImage plain = tab->grab().toImage();
        ui.cxPageControl1->setCurrentIndex(2);
        QCoreApplication::processEvents();
        const QImage selected = tab->grab().toImage();
        ui.cxPageControl1->tabBar()->setFocus();
        QCoreApplication::processEvents();
        ASSERT_TRUE(ui.cxPageControl1->tabBar()->hasFocus());
        const QImage focused = tab->grab().toImage();

        // A shade of the style's may come with it, but a clear line along the tab must.
        const Mark selection(plain, selected);
        EXPECT_GE(selection.strong, 2 * tab->height()) << Describe(selection);
        EXPECT_GE(selection.clearBorders, selection.borders * 9 / 10) << Describe(selection);
        // The line runs along the tab's outer edge, the left one.
        int leftEdgeRows = 0;
        for (int y = 0; y < selected.height(); ++y) {
            leftEdgeRows +=
                ContrastRatio(QColor(selected.pixel(1, y)), QColor(plain.pixel(1, y))) >= 3 ? 1 : 0;
        }
        EXPECT_GE(leftEdgeRows, selected.height() * 9 / 10);
        // A frame round the tab, all of it clear.
        const Mark focus(selected, focused);
        EXPECT_GE(focus.strong, tab->width() + tab->height()) << Describe(focus);
        EXPECT_GE(focus.strong, focus.changed * 9 / 10) << Describe(focus);
        EXPECT_GE(focus.clearBorders, focus.borders * 9 / 10) << Describe(focus);
    }
}

}  // namespace
}  // namespace hostlore
