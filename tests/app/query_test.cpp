#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <future>

#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/neighbourhood_page.h"
#include "app/pages/whois_info_page.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"
#include "support/window_workers.h"

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
        {" example.test", "http:// example.test"},
        {"ftp://files.example.test", "ftp://files.example.test"},
        {"HTTP://EXAMPLE.TEST", "HTTP://EXAMPLE.TEST"},
    };
    for (const auto& c : cases) {
        test::Ui(*window).url_edit->setEditText(c.typed);
        window->goClick(test::Ui(*window).go);
        EXPECT_EQ(test::Ui(*window).url_edit->currentText(), c.box) << c.typed;
    }
    // The capitalised URL matched the first entry, so it was not added again.
    EXPECT_EQ(History(), (QStringList{"http://example.test", "http:// example.test",
                                      "ftp://files.example.test"}));
}

TEST_F(QueryTest, EmptiesTheGeneralInfoPage) {
    FillGeneralInfo();
    test::Ui(*window).url_edit->setEditText("example.test");
    window->goClick(test::Ui(*window).go);
    EXPECT_TRUE(GeneralInfoEmpty());
}

TEST_F(QueryTest, BringsTheConfiguredPageToTheFront) {
    const std::pair<const char*, int> cases[] = {
        {"Whois Info", 1}, {"IP Neighborhood", 6}, {"Local Network Info", 7},
        {"whois info", 0}, {"Nowhere", 0},         {"", 0}};
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

TEST_F(QueryTest, AnEarlierQuerysWorkerCannotWriteIntoANewerOne) {
    test::Gate gate;
    std::promise<bool> cancelled;
    auto stale =
        std::make_shared<test::WindowWorker>(*window, [&](test::WindowWorker& self, Tmain& w) {
            gate.Wait();
            try {
                self.Synchronize([&] { test::Ui(w).Memo1->appendPlainText("198.51.100.7"); });
                self.Synchronize([&] { test::Ui(w).Edit4->setText("stale.example.test"); });
                cancelled.set_value(false);
            } catch (const ThreadCancelled&) {
                cancelled.set_value(true);
            }
        });
    test::Ui(*window).url_edit->setEditText("first.example.test");
    window->goClick(test::Ui(*window).go);
    window->StartQueryWorker(stale);

    test::Ui(*window).url_edit->setEditText("second.example.test");
    window->goClick(test::Ui(*window).go);
    gate.Open();
    auto result = cancelled.get_future();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_TRUE(result.get());
    EXPECT_FALSE(test::Ui(*window).Memo1->toPlainText().contains("198.51.100.7"));
    EXPECT_NE(test::Ui(*window).Edit4->text(), "stale.example.test");
    EXPECT_TRUE(test::ReleaseAndWaitForEnd(stale));
}

TEST_F(QueryTest, AWorkerOfTheCurrentQueryWritesItsPage) {
    bool done = false;
    auto current =
        std::make_shared<test::WindowWorker>(*window, [&](test::WindowWorker& self, Tmain& w) {
            self.Synchronize([&] { test::Ui(w).Memo1->appendPlainText("192.0.2.10"); });
            self.Synchronize([&] { done = true; });
        });
    test::Ui(*window).url_edit->setEditText("example.test");
    window->goClick(test::Ui(*window).go);
    window->StartQueryWorker(current);
    ASSERT_TRUE(test::PumpUntil([&] { return done; }));
    EXPECT_EQ(test::Ui(*window).Memo1->toPlainText(), "192.0.2.10");
    EXPECT_TRUE(test::ReleaseAndWaitForEnd(current));
}

class StoppableQueryTest : public QueryTest,
                           public ::testing::WithParamInterface<bool /*whois page*/> {
  protected:
    QLabel* Status() const {
        return GetParam() ? test::Ui(*window).Label5 : test::Ui(*window).Label11;
    }
    void StartStoppable(const std::shared_ptr<TThread>& worker) {
        if (GetParam()) {
            test::Find<WhoisInfoPage>(*window, "Whois Info")->StartRun(worker, {});
        } else {
            test::Find<NeighbourhoodPage>(*window, "IP Neighborhood")->StartRun(worker);
        }
    }
    void Stop() {
        if (GetParam()) {
            window->whois_stopClick(test::Ui(*window).whois_stop);
        } else {
            window->ip_nei_stopClick(test::Ui(*window).ip_nei_stop);
        }
    }
};

TEST_P(StoppableQueryTest, ShowsWorkingWhileRunningAndDoneAfterwards) {
    test::Gate gate;
    test::Ui(*window).url_edit->setEditText("example.test");
    window->goClick(test::Ui(*window).go);
    auto worker = std::make_shared<test::WindowWorker>(
        *window, [&](test::WindowWorker&, Tmain&) { gate.Wait(); });
    StartStoppable(worker);
    EXPECT_EQ(Status()->text(), "Working, Please Wait...");
    gate.Open();
    EXPECT_TRUE(test::PumpUntil([&] { return Status()->text() == "Done!"; }));
    EXPECT_TRUE(test::ReleaseAndWaitForEnd(worker));
}

TEST_P(StoppableQueryTest, AStopCutsTheWorkerOffAndShowsDone) {
    test::Gate gate;
    std::promise<bool> cancelled;
    auto worker =
        std::make_shared<test::WindowWorker>(*window, [&](test::WindowWorker& self, Tmain& w) {
            gate.Wait();
            try {
                self.Synchronize([&] { test::Ui(w).Memo3->appendPlainText("late line"); });
                cancelled.set_value(false);
            } catch (const ThreadCancelled&) {
                cancelled.set_value(true);
            }
        });
    StartStoppable(worker);
    Stop();
    EXPECT_EQ(Status()->text(), "Done!");
    EXPECT_TRUE(worker->Terminated());

    Status()->setText("Working, Please Wait...");  // must not come back from the stopped worker
    gate.Open();
    auto result = cancelled.get_future();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_TRUE(result.get());
    ASSERT_TRUE(test::ReleaseAndWaitForEnd(worker));
    EXPECT_EQ(Status()->text(), "Working, Please Wait...") << "its end-of-run handler ran";
    EXPECT_TRUE(test::Ui(*window).Memo3->toPlainText().isEmpty());
}

TEST_P(StoppableQueryTest, AStopWhileDoneChangesNothing) {
    Status()->setText("Done!");
    Stop();
    EXPECT_EQ(Status()->text(), "Done!");
    Status()->setText(" ");
    Stop();
    EXPECT_EQ(Status()->text(), " ");
}

TEST_P(StoppableQueryTest, ANewQueryStopsTheRunningOneFirst) {
    test::Gate gate;
    auto earlier = std::make_shared<test::WindowWorker>(
        *window, [&](test::WindowWorker&, Tmain&) { gate.Wait(); });
    StartStoppable(earlier);
    test::Ui(*window).url_edit->setEditText("again.example.test");
    window->goClick(test::Ui(*window).go);
    EXPECT_TRUE(earlier->Terminated());
    // The new query's own worker is running now.
    EXPECT_EQ(Status()->text(), "Working, Please Wait...");
    gate.Open();
    EXPECT_TRUE(test::ReleaseAndWaitForEnd(earlier));
}

INSTANTIATE_TEST_SUITE_P(WhoisAndScan, StoppableQueryTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Whois" : "Scan"; });

}  // namespace
}  // namespace hostlore
