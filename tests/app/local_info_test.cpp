#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>

#include "app/main_window.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

// The report is made once the window has first been painted.
void ShowUntilReported(Tmain& window, const std::function<bool()>& reported) {
    window.show();
    ASSERT_TRUE(test::PumpUntil(reported));
}

bool Reported(Tmain& window) {
    return !test::Ui(window).Memo2->toPlainText().isEmpty();
}

QStringList LinesOf(const QPlainTextEdit* area) {
    QStringList lines;
    for (QTextBlock block = area->document()->begin(); block.isValid(); block = block.next()) {
        lines << block.text();
    }
    return lines;
}

TEST(LocalInfo, StartUpReportsTheMachinesParametersAndAdapters) {
    test::FakeProgram program;
    program.machine->adapters.front().IpAddressList.push_back({"192.0.2.8", "255.255.0.0"});
    Tmain window(program.Services());
    EXPECT_TRUE(test::Ui(window).Memo4->toPlainText().isEmpty()) << "not before the first paint";
    ShowUntilReported(window, [&] { return Reported(window); });
    EXPECT_EQ(LinesOf(test::Ui(window).Memo4),
              (QStringList{"Host name: testhost", "Domain name: example.test",
                           "Current DNS Server: 192.0.2.53", "DNS 1: 192.0.2.53",
                           "Scope ID: ", "Routing: 0", "Proxy: 0", "DNS: 1"}));
    const QStringList adapter = LinesOf(test::Ui(window).Memo2);
    ASSERT_EQ(adapter.size(), 18);
    EXPECT_EQ(adapter[4], "   Adapter address: 52-54-00-12-34-AB");
    EXPECT_EQ(adapter[9],
              "   IP addresses: A: 192.0.2.7 M: 255.255.255.0 A: 192.0.2.8 M: 255.255.0.0")
        << "the entries of a list stay on one line";
    EXPECT_EQ(adapter[17], "");
}

TEST(LocalInfo, TheNarrowParametersAreaScrollsSidewaysToItsLongestLine) {
    test::FakeProgram program;
    program.machine->parameters.CurrentDnsServer = {"192.0.2.253", ""};
    Tmain window(program.Services());
    ShowUntilReported(window, [&] { return Reported(window); });
    QPlainTextEdit* parameters = test::Ui(window).Memo4;
    test::Ui(window).cxPageControl1->setCurrentIndex(kLocalNetworkPage);
    QApplication::processEvents();
    EXPECT_TRUE(parameters->toPlainText().contains("Current DNS Server: 192.0.2.253"));
    EXPECT_GT(parameters->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(parameters->horizontalScrollBar()->isVisible());
}

TEST(LocalInfo, ThreeAdaptersGiveFiftyFourLines) {
    test::FakeProgram program;
    auto& adapters = program.machine->adapters;
    adapters.push_back(adapters.front());
    adapters.push_back(adapters.front());
    Tmain window(program.Services());
    ShowUntilReported(window, [&] { return Reported(window); });
    const QStringList lines = LinesOf(test::Ui(window).Memo2);
    EXPECT_EQ(lines.size(), 54);
    EXPECT_EQ(lines[36], "Adapter 3");
    EXPECT_EQ(lines.last(), "");
}

TEST(LocalInfo, AReportThatFailsIsShownAndStartUpGoesOn) {
    test::FakeProgram program;
    program.machine->failWith = 13;
    program.WriteSettings(
        "[general]\r\ndefault_url=http://kept.example.test/\r\n"
        "[last_url]\r\nhttp://remembered.test/=\r\n");
    Tmain window(program.Services());
    ShowUntilReported(window, [&] { return !program.boxes->shown.empty(); });
    ASSERT_EQ(program.boxes->shown.size(), 1u);
    EXPECT_EQ(program.boxes->shown[0].text, "System Error.  Code: 13.\nPermission denied.");
    EXPECT_EQ(program.boxes->shown[0].caption, "Hostlore");
    EXPECT_TRUE(test::Ui(window).Memo4->toPlainText().isEmpty());
    EXPECT_TRUE(test::Ui(window).Memo2->toPlainText().isEmpty());
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://kept.example.test/");
    EXPECT_EQ(test::Ui(window).url_edit->itemText(0), "http://remembered.test/");
}

TEST(BrowserCapture, StartUpTakesTheBrowsersUrlOverTheDefault) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=http://default.example.test/\r\n");
    program.browser->reply = R"("http://browsing.example.test/","Browsing")";
    Tmain window(program.Services());
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://browsing.example.test/");
}

TEST(BrowserCapture, StartUpKeepsTheDefaultWhenTheBrowserHasNoUsableUrl) {
    for (const std::optional<std::string>& reply :
         {std::optional<std::string>(), std::optional<std::string>(R"("about:blank","")")}) {
        test::FakeProgram program;
        program.WriteSettings("[general]\r\ndefault_url=http://default.example.test/\r\n");
        program.browser->reply = reply;
        Tmain window(program.Services());
        EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://default.example.test/");
        EXPECT_TRUE(program.boxes->shown.empty());
    }
}

TEST(BrowserCapture, StartUpAsksNoBrowserWhenTheSettingSaysFalse) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nget_ie=false\r\n");
    program.browser->reply = R"("http://browsing.example.test/","Browsing")";
    Tmain window(program.Services());
    EXPECT_EQ(program.browser->asked, 0);
}

class CaptureButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\nget_ie=false\r\nexecute=false\r\n");
        window = std::make_unique<Tmain>(program.Services());
        test::Ui(*window).url_edit->setEditText("http://typed.example.test/");
    }
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(CaptureButtonTest, PutsTheBrowsersUrlIntoTheBoxAndQueriesIt) {
    program.browser->reply = R"("http://browsing.example.test/a","A")";
    test::Ui(*window).SpeedButton2->click();
    EXPECT_EQ(test::Ui(*window).url_edit->currentText(), "http://browsing.example.test/a");
    EXPECT_EQ(test::Ui(*window).url_edit->itemText(0), "http://browsing.example.test/a")
        << "the query ran";
}

TEST_F(CaptureButtonTest, SaysSoWhenThereIsNoUrlAndChangesNothing) {
    for (const std::optional<std::string>& reply :
         {std::optional<std::string>(), std::optional<std::string>("\"http://unterminated")}) {
        program.boxes->shown.clear();
        program.browser->reply = reply;
        window->SpeedButton2Click();
        ASSERT_EQ(program.boxes->shown.size(), 1u);
        EXPECT_EQ(program.boxes->shown[0].text, "No URL in the Internet Explorer!");
        EXPECT_EQ(program.boxes->shown[0].caption, "");
        EXPECT_EQ(program.boxes->shown[0].icon, BoxIcon::Warning);
        EXPECT_EQ(test::Ui(*window).url_edit->currentText(), "http://typed.example.test/");
        EXPECT_EQ(test::Ui(*window).url_edit->count(), 0);
    }
}

}  // namespace
}  // namespace hostlore
