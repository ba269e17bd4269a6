#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "app/page_control.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/gate.h"
#include "support/recording_server.h"
#include "support/unprivileged_file_access.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class QueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\ndefault_url=\r\n");
        window = std::make_unique<Tmain>(program.Services());
        window->Timer1->stop();
    }

    void FillGeneralInfo() {
        test::Ui(*window).Memo1->setPlainText("192.0.2.1");
        for (QLineEdit* field :
             {test::Ui(*window).Edit1, test::Ui(*window).Edit2, test::Ui(*window).Edit3,
              test::Ui(*window).Edit4, test::Ui(*window).Edit5}) {
            field->setText("old");
        }
    }

    bool GeneralInfoEmpty() const {
        return test::Ui(*window).Memo1->toPlainText().isEmpty() &&
               test::Ui(*window).Edit1->text().isEmpty() &&
               test::Ui(*window).Edit2->text().isEmpty() &&
               test::Ui(*window).Edit3->text().isEmpty() &&
               test::Ui(*window).Edit4->text().isEmpty() &&
               test::Ui(*window).Edit5->text().isEmpty();
    }

    QStringList History() const {
        QStringList items;
        for (int i = 0; i < test::Ui(*window).url_edit->count(); ++i) {
            items << test::Ui(*window).url_edit->itemText(i);
        }
        return items;
    }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(QueryTest, AnEmptyBoxDoesNothing) {
    FillGeneralInfo();
    test::Ui(*window).cxPageControl1->setCurrentIndex(5);
    test::Ui(*window).url_edit->setEditText(QString());
    window->goClick(test::Ui(*window).go);
    EXPECT_EQ(test::Ui(*window).Edit1->text(), "old");
    EXPECT_EQ(test::Ui(*window).cxPageControl1->currentIndex(), 5);
    EXPECT_TRUE(History().isEmpty());
}

TEST_F(QueryTest, NormalisesTheUrlAndRemembersItOnce) {
    struct Case {
        const char* typed;
        const char* box;
    };
    const Case cases[] = {
        {"example.test", "http://example.test"},
        {"  www.example.test \t\r\n", "http://www.example.test"},  // pasted with blanks
        {"ftp://files.example.test", "ftp://files.example.test"},
        {"HTTP://EXAMPLE.TEST", "HTTP://EXAMPLE.TEST"},
        {" \t ", " \t "},  // nothing to query: the box stays as it is
    };
    for (const auto& c : cases) {
        test::Ui(*window).url_edit->setEditText(c.typed);
        window->goClick(test::Ui(*window).go);
        EXPECT_EQ(test::Ui(*window).url_edit->currentText(), c.box) << c.typed;
    }
    // The capitalised URL matched the first entry, so it was not added again.
    EXPECT_EQ(History(), (QStringList{"http://example.test", "http://www.example.test",
                                      "ftp://files.example.test"}));
}

TEST_F(QueryTest, EmptiesTheGeneralInfoPage) {
    FillGeneralInfo();
    test::Ui(*window).url_edit->setEditText("example.test");
    window->goClick(test::Ui(*window).go);
    EXPECT_TRUE(GeneralInfoEmpty());
}

TEST_F(QueryTest, BringsTheConfiguredPageToTheFront) {
    const std::pair<const char*, int> cases[] = {{"DNS Records", kDnsRecordsPage},
                                                 {"Web Server", kWebServerPage},
                                                 {"Whois Info", kWhoisInfoPage},
                                                 {"IP Neighborhood", kNeighbourhoodPage},
                                                 {"Local Network Info", kLocalNetworkPage},
                                                 {"whois info", 0},
                                                 {"Nowhere", 0},
                                                 {"", 0}};
    for (const auto& [goTo, page] : cases) {
        program.WriteSettings(std::string("[general]\r\ngo_to=") + goTo + "\r\n");
        test::Ui(*window).cxPageControl1->setCurrentIndex(3);
        test::Ui(*window).url_edit->setEditText("example.test");
        window->goClick(test::Ui(*window).go);
        EXPECT_EQ(test::Ui(*window).cxPageControl1->currentIndex(), page) << goTo;
    }
}

TEST_F(QueryTest, EnterInTheUrlBoxRunsTheQuery) {
    window->show();
    test::Ui(*window).url_edit->setEditText("enter.example.test");
    QTest::keyClick(test::Ui(*window).url_edit->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(test::Ui(*window).url_edit->currentText(), "http://enter.example.test");
    EXPECT_EQ(History(), QStringList{"http://enter.example.test"});
    QChar other('a');
    window->url_editKeyPress(test::Ui(*window).url_edit, other);
    EXPECT_EQ(other, QChar('a'));
    EXPECT_EQ(History().size(), 1);
}

// The window's stop buttons and a newer query reach the current run; the
// run's own rules are tested without a window.
TEST_F(QueryTest, TheStopButtonsAndANewQueryStopTheRunningWorkers) {
    test::RecordingServer whois{"\r\n", test::ScriptedWhoisReply};
    program.WriteSettings("[general]\r\ndefault_url=\r\n[whois]\r\nserver=127.0.0.1:" +
                          std::to_string(whois.Port()) + "\r\n");
    window = std::make_unique<Tmain>(program.Services());  // reads the whois server
    window->Timer1->stop();
    auto lookups = std::make_shared<test::Gate>();
    program.resolver->HoldLookupsAt(lookups);
    const auto query = [&](const char* host) {
        test::Ui(*window).url_edit->setEditText(host);
        window->goClick(test::Ui(*window).go);
    };
    query("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return whois.Requests().size() == 1; }));
    for (QLabel* status : {test::Ui(*window).Label5, test::Ui(*window).Label11}) {
        EXPECT_EQ(status->text(), "Working, Please Wait...");
    }
    test::Ui(*window).whois_stop->click();
    test::Ui(*window).ip_nei_stop->click();
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!");
    EXPECT_EQ(test::Ui(*window).Label11->text(), "Done!");
    EXPECT_TRUE(test::PumpUntil([&] { return whois.ClientCloses() == 1; }));

    query("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return whois.Requests().size() == 2; }));
    // The newer query's whois is held too, so that its run is still working.
    query("silent.test");
    EXPECT_TRUE(test::PumpUntil([&] { return whois.ClientCloses() == 2; }));
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Working, Please Wait...");
    lookups->Open();
}

TEST_F(QueryTest, AQueryRightAfterThePortGoesToThatPort) {
    test::RecordingServer web("\r\n\r\n",
                              test::Always("HTTP/1.1 200 OK\r\nServer: On-Its-Port\r\n\r\n"));
    program.resolver->Add("www.example.test", {"www.example.test", {{127, 0, 0, 1}}});
    test::Ui(*window).url_edit->setEditText(
        QString("http://www.example.test:%1?x=1").arg(web.Port()));
    window->goClick(test::Ui(*window).go);
    ASSERT_TRUE(test::PumpUntil([&] { return window->CurrentRun()->Finished(); }, 20'000));
    EXPECT_EQ(test::Ui(*window).Edit2->text(), "On-Its-Port");
}

TEST_F(QueryTest, SaveReportWritesBothFormatsAndAFailureLosesNothing) {
    program.resolver->Add("www.example.test", {"www.example.test", {{192, 0, 2, 10}}});
    test::Ui(*window).url_edit->setEditText("www.example.test");
    window->goClick(test::Ui(*window).go);
    ASSERT_TRUE(test::PumpUntil([&] { return window->CurrentRun()->Finished(); }, 20'000));
    auto* save = test::Find<QAction>(*window, "SaveReport1");
    EXPECT_EQ(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    program.saveFiles->answer = program.folder.File("report.txt");
    save->trigger();
    EXPECT_NE(program.folder.Read("report.txt").find("IP Address:\n192.0.2.10\n"),
              std::string::npos);
    program.saveFiles->answer = program.folder.File("report.json");
    save->trigger();
    EXPECT_NE(program.folder.Read("report.json").find("\"complete\": true"), std::string::npos);
    EXPECT_TRUE(program.boxes->shown.empty());

    const auto locked = program.folder.File("locked");
    std::filesystem::create_directory(locked);
    test::GiveToOrdinaryUser(locked);
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    program.saveFiles->answer = locked / "report.txt";
    {
        const test::AsOrdinaryUser user;
        save->trigger();
    }
    ASSERT_EQ(program.boxes->shown.size(), 1U);
    EXPECT_EQ(program.boxes->shown[0].text,
              "Unable to write to " + QString::fromStdString(locked.string()) + "/report.txt.");
    EXPECT_FALSE(std::filesystem::exists(locked / "report.txt"));
    test::Ui(*window).url_edit->setEditText("again.example.test");
    window->goClick(test::Ui(*window).go);
    EXPECT_EQ(History().size(), 2);
}

}  // namespace
}  // namespace hostlore
