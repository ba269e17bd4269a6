#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <iostream>
#include <mutex>

#include "app/main_window.h"
#include "app/pages/whois_info_page.h"
#include "query/report/display_lines.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class WhoisPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\nexecute=false\r\n[whois]\r\nserver=127.0.0.1:" +
                              std::to_string(server.Port()) + "\r\n");
        window = std::make_unique<Tmain>(program.Services());
    }

    void Query(const QString& url) {
        test::Ui(*window).url_edit->setEditText(url);
        window->goClick(test::Ui(*window).go);
    }

    bool Done() const { return test::Ui(*window).Label5->text() == "Done!"; }

    test::RecordingServer server{"\r\n", test::ScriptedWhoisReply};
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(WhoisPageTest, TwoQueriesInQuickSuccessionLeaveTheSecondReply) {
    Query("silent.test");
    Query("second.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_EQ(test::Ui(*window).Memo3->toPlainText(),
              "Domain Name: second.test\n\nRegistrar: Test Registrar");
    test::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!");
}

TEST_F(WhoisPageTest, AStopWhileWaitingLeavesTheMemoEmptyAndEndsTheWorkerAtOnce) {
    Query("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return server.Requests().size() == 1; }));
    // The server has the connection; only the stop can end the run now.
    ASSERT_EQ(server.Accepted(), 1);

    QElapsedTimer clock;
    clock.start();
    window->whois_stopClick(test::Ui(*window).whois_stop);
    ASSERT_TRUE(test::PumpUntil([&] { return server.ClientCloses() == 1; }, 1000));
    const qint64 latency = clock.nsecsElapsed();
    std::cout << "[ figures  ] whois stop latency: " << latency / 1000 << " us\n";
    RecordProperty("stop_latency_us", static_cast<int>(latency / 1000));

    EXPECT_LT(latency, 250'000'000) << "within one wait slice";
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!");
    EXPECT_TRUE(test::Ui(*window).Memo3->toPlainText().isEmpty());
}

TEST_F(WhoisPageTest, AStopWhileDoneChangesNothing) {
    Query("example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    const QString shown = test::Ui(*window).Memo3->toPlainText();
    window->whois_stopClick(test::Ui(*window).whois_stop);
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!");
    EXPECT_EQ(test::Ui(*window).Memo3->toPlainText(), shown);
}

TEST(WhoisInfoPage, AOneMebibyteLineShowsCutAndInTurns) {
    const SystemClock clock;
    WhoisInfoPage page(clock, [] {});
    page.show();
    const std::string line(std::size_t{1} << 20, 'w');
    page.AppendReplyLines(std::span(&line, 1));
    auto* memo = test::Find<QPlainTextEdit>(page, "Memo3");
    EXPECT_LE(memo->document()->characterCount(), WhoisInfoPage::kCharactersPerTurn + 4096)
        << "all of it laid out in one turn";
    ASSERT_TRUE(test::PumpUntil([&] { return memo->document()->blockCount() == 256; }, 60000));
    EXPECT_EQ(memo->document()->firstBlock().length() - 1, 4096);
    EXPECT_TRUE(memo->document()->lastBlock().text().startsWith(kContinuationMark));
    EXPECT_EQ(memo->toPlainText().remove(kContinuationMark).remove('\n').toStdString(), line);
    page.ClearReply();
    test::PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(memo->toPlainText().isEmpty()) << "what was still to come was shown after all";
}

}  // namespace
}  // namespace hostlore
