#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <functional>

#include "app/page_control.h"
#include "app/pages/general_info_page.h"
#include "app/pages/local_network_page.h"
#include "app/pages/page_widgets.h"
#include "app/pages/web_server_page.h"
#include "app/pages/whois_info_page.h"
#include "platform/clock.h"
#include "query/web_server/web_server_text.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;

struct FilledArea {
    const char* name;
    std::function<QWidget*()> page;
    // Through what a query or start-up calls.
    std::function<void(QWidget& page, const Lines& lines)> fill;
};

template <class Page>
Page& As(QWidget& page) {
    return dynamic_cast<Page&>(page);
}

TEST(TextAreas, ALongTextOpensAtItsFirstLineAndLeftEdgeOnAShownOrAHiddenPage) {
    // Wider and higher than any area, and more than the whois page shows in one turn.
    Lines lines;
    for (int i = 0; i < 200; ++i) {
        lines.push_back("Line " + std::to_string(i) + ": " + std::string(700, 'w'));
    }
    test::RecordingMessageBoxes boxes;
    const FilledArea areas[] = {
        {"Memo3",
         [] {
             static const SystemClock clock;
             return new WhoisInfoPage(clock, [] {});
         },
         [](QWidget& page, const Lines& shown) {
             Lines reply = shown;
             for (std::string& line : reply) {
                 line += '\r';
             }
             As<WhoisInfoPage>(page).AppendReplyLines(std::span(reply).first(100));
             As<WhoisInfoPage>(page).AppendReplyLines(std::span(reply).subspan(100));
         }},
        {"Memo1", [&boxes] { return new GeneralInfoPage(boxes); },
         [](QWidget& page, const Lines& shown) {
             for (const std::string& line : shown) {
                 As<GeneralInfoPage>(page).AddAddressLine(line);
             }
         }},
        {"Memo4", [] { return new LocalNetworkPage; },
         [](QWidget& page, const Lines& shown) {
             As<LocalNetworkPage>(page).ShowParameters(shown);
         }},
        {"Memo2", [] { return new LocalNetworkPage; },
         [](QWidget& page, const Lines& shown) { As<LocalNetworkPage>(page).ShowAdapters(shown); }},
        {"WebServerText", [] { return new WebServerPage; },
         [](QWidget& page, const Lines& shown) {
             // Once a hop, the whole text each time.
             As<WebServerPage>(page).Show(
                 {}, WebServerDisplayText(Lines(shown.begin(), shown.begin() + 100)));
             As<WebServerPage>(page).Show({}, WebServerDisplayText(shown));
         }},
    };
    for (const FilledArea& area : areas) {
        for (const bool shown : {true, false}) {
            SCOPED_TRACE(std::string(area.name) + (shown ? ", shown" : ", hidden"));
            PageControl pages;
            pages.resize(500, 400);
            pages.addPage(new QWidget, QIcon(), QStringLiteral("other"));
            QWidget* page = area.page();
            pages.addPage(page, QIcon(), QStringLiteral("filled"));
            pages.setCurrentIndex(shown ? 1 : 0);
            pages.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&pages));
            area.fill(*page, lines);
            auto* text = test::Find<QPlainTextEdit>(*page, area.name);
            ASSERT_TRUE(test::PumpUntil([&] { return text->document()->blockCount() == 200; }));
            pages.setCurrentIndex(1);
            QApplication::processEvents();
            EXPECT_EQ(text->document()->firstBlock().text().toStdString(), lines.front());
            EXPECT_GT(text->verticalScrollBar()->maximum(), 0);
            EXPECT_GT(text->horizontalScrollBar()->maximum(), 0);
            EXPECT_EQ(text->verticalScrollBar()->value(), 0);
            EXPECT_EQ(text->horizontalScrollBar()->value(), 0);
        }
    }
}

TEST(TextAreas, MoreLinesLeaveAReaderWhereTheyScrolled) {
    QPlainTextEdit area;
    area.resize(200, 100);
    area.show();
    AppendLines(area, QStringLiteral("line\n").repeated(100));
    area.verticalScrollBar()->setValue(50);
    AppendLines(area, QStringLiteral("more\n").repeated(100));
    EXPECT_EQ(area.verticalScrollBar()->value(), 50);
}

TEST(TextAreas, ANewHopLeavesAReaderOfTheWebServerPageWhereTheyScrolled) {
    WebServerPage page;
    page.resize(200, 100);
    page.show();
    const Lines lines(100, std::string(300, 'w'));
    page.Show({}, WebServerDisplayText(lines));
    auto* text = test::Find<QPlainTextEdit>(page, "WebServerText");
    text->verticalScrollBar()->setValue(50);
    text->horizontalScrollBar()->setValue(30);
    page.Show({}, WebServerDisplayText(Lines(200, std::string(300, 'w'))));
    EXPECT_EQ(text->verticalScrollBar()->value(), 50);
    EXPECT_EQ(text->horizontalScrollBar()->value(), 30);
}

TEST(WrappingResultFields, ShowAsManyLinesAsTheyAreHighWithoutAScrollBar) {
    const struct {
        int fieldLines;
        int textLines;
        bool scrolls;
    } cases[] = {{2, 2, false}, {2, 3, true}, {3, 3, false}, {3, 4, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.textLines) + " lines in " + std::to_string(c.fieldLines));
        std::unique_ptr<QPlainTextEdit> field(WrappingResultField("Field", "Field", c.fieldLines));
        field->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(field.get()));
        field->setPlainText(QStringLiteral("line\n").repeated(c.textLines - 1) + "line");
        QApplication::processEvents();
        EXPECT_EQ(field->verticalScrollBar()->isVisible(), c.scrolls);
    }
}

}  // namespace
}  // namespace hostlore
