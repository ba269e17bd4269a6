#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <future>

#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/whois_info_page.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/recording_server.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

std::string HistorySection(int first, int count) {
    std::string section = "[last_url]\r\n";
    for (int i = first; i < first + count; ++i) {
        section += "http://site" + std::to_string(i) + ".test/=\r\n";
    }
    return section;
}

QStringList ListOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

TEST(Startup, FirstStartShowsTheDefaultsAndWritesNothing) {
    test::FakeProgram program;
    Tmain window(program.Services());
    EXPECT_TRUE(test::Ui(window).url_edit->currentText().startsWith("http://"));
    EXPECT_EQ(test::Ui(window).Label12->text(), "Service provided by Alexa");
    EXPECT_EQ(test::Ui(window).Label18->text(), "Service provided by NameIntelligence");
    EXPECT_EQ(test::Ui(window).Label13->text(), "Service provided by Google");
    EXPECT_EQ(test::Ui(window).Label14->text(), "Service provided by Google");
    EXPECT_EQ(test::Ui(window).url_edit->count(), 0);
    EXPECT_TRUE(program.boxes->shown.empty());
    EXPECT_FALSE(std::filesystem::exists(program.folder.File("settings.ini")));
}

TEST(Startup, ReadsTheStoredUrlServiceNamesAndNewestHistoryFirst) {
    test::FakeProgram program;
    program.WriteSettings(
        "[general]\r\ndefault_url=http://start.example.test/\r\n"
        "[url]\r\nsite_info=Mine\r\nwhois_source=\r\nBACKWARD_LINKS=Links & Co <b>\r\n" +
        HistorySection(0, 20));
    Tmain window(program.Services());
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://start.example.test/");
    EXPECT_EQ(test::Ui(window).Label12->text(), "Service provided by Mine");
    EXPECT_EQ(test::Ui(window).Label18->text(), "Service provided by NameIntelligence");
    EXPECT_EQ(test::Ui(window).Label13->text(), "Service provided by Links & Co <b>");
    EXPECT_EQ(ListOf(test::Ui(window).url_edit),
              (QStringList{"http://site19.test/", "http://site18.test/", "http://site17.test/",
                           "http://site16.test/", "http://site15.test/", "http://site14.test/",
                           "http://site13.test/", "http://site12.test/"}));
}

TEST(Startup, AStoredProxyGivesTheWhoisClientItsHostAndPort) {
    test::FakeProgram program;
    program.WriteSettings("[proxy]\r\nuse=true\r\nhost=socks.example.test\r\nport=1080\r\n");
    Tmain window(program.Services());
    EXPECT_EQ(window.Connection().socks.Host, "socks.example.test");
    EXPECT_EQ(window.Connection().socks.Port, 1080);
    EXPECT_EQ(window.Connection().socks.Version, TSocksVersion::svNoSocks);
    EXPECT_TRUE(program.boxes->shown.empty());
}

TEST(Startup, AProxyOnlyTrueInExactlyThatWordIsApplied) {
    test::FakeProgram program;
    program.WriteSettings("[proxy]\r\nuse=True\r\nhost=socks.example.test\r\nport=1080\r\n");
    Tmain window(program.Services());
    EXPECT_EQ(window.Connection().socks.Host, "");
    EXPECT_EQ(window.Connection().socks.Port, 0);
}

TEST(Startup, AProxyPortThatIsNoNumberLeavesTheProxyUnsetAndIsNamedOnceTheWindowShows) {
    test::FakeProgram program;
    program.WriteSettings(
        "[general]\r\nexecute=false\r\n"
        "[proxy]\r\nuse=true\r\nhost=socks.example.test\r\nport=abc\r\n" +
        HistorySection(0, 3));
    Tmain window(program.Services());
    EXPECT_TRUE(program.boxes->shown.empty()) << "no box before the window";
    EXPECT_EQ(window.Connection().socks.Host, "");
    EXPECT_EQ(window.Connection().socks.Port, 0);
    EXPECT_EQ(test::Ui(window).url_edit->count(), 3) << "the history loads";
    window.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !program.boxes->shown.empty(); }));
    test::PumpUntil([] { return false; }, 100);
    ASSERT_EQ(program.boxes->shown.size(), 1u);
    EXPECT_EQ(program.boxes->shown[0].text,
              "The proxy is not used: the setting port=abc in section proxy of settings.ini is "
              "not a valid integer value. Correct it under Options, Proxy.");
    EXPECT_EQ(program.boxes->shown[0].caption, "Hostlore");
    EXPECT_EQ(program.boxes->shown[0].icon, BoxIcon::Warning);
}

// As the program runs: the pages the first window does not show come after its
// first paint, or with a query that comes first.
TEST(Startup, HiddenPagesComeAfterTheFirstPaintOrWithAQueryBeforeIt) {
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "queried before any paint");
        test::FakeProgram program;
        program.WriteSettings("[general]\r\nexecute=false\r\n[url]\r\nsite_info=Mine\r\n");
        MainServices services = program.Services();
        services.pagesAfterFirstPaint = true;
        Tmain window(services);
        EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("Memo3")), nullptr);
        if (shown) {
            window.show();
            ASSERT_TRUE(test::PumpUntil([&] {
                const auto* report = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo2"));
                return report != nullptr && !report->toPlainText().isEmpty();
            }));
        } else {
            window.findChild<QComboBox*>(QStringLiteral("url_edit"))
                ->setEditText(QStringLiteral("www.example.test"));
            window.goClick(nullptr);
            EXPECT_EQ(test::Ui(window).Label5->text(), "Working, Please Wait...");
        }
        EXPECT_EQ(test::Ui(window).Label12->text(), "Service provided by Mine");
        QWidget* whois = test::Ui(window).cxPageControl1->widget(kWhoisInfoPage);
        EXPECT_EQ(whois->objectName(), "Whois Info");
        EXPECT_TRUE(whois->isAncestorOf(test::Ui(window).Memo3));
    }
}

TEST(Startup, TheTimerActivatesEveryPageEndsOnGeneralInfoAndRunsTheQuery) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=auto.example.test\r\n");
    Tmain window(program.Services());
    QStringList visited;
    QObject::connect(test::Ui(window).cxPageControl1, &PageControl::currentChanged,
                     [&](int index) { visited << QString::number(index); });
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 1000);
    ASSERT_TRUE(test::PumpUntil([&] { return !window.Timer1->isActive(); }, 3000));
    EXPECT_EQ(visited, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "0"}))
        << "every page but the local network's, which is filled at start-up";
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://auto.example.test");
    EXPECT_EQ(ListOf(test::Ui(window).url_edit), QStringList{"http://auto.example.test"});
    test::PumpUntil([] { return false; }, 1200);
    EXPECT_EQ(ListOf(test::Ui(window).url_edit).size(), 1) << "the timer fires only once";
}

TEST(Startup, TheAutomaticQueryRunsAfterABoxThatStayedOpenDuringStartUp) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=auto.example.test\r\n");
    program.machine->failWith = 5;
    program.boxes->readingMilliseconds = 1300;
    Tmain window(program.Services());
    window.show();
    ASSERT_TRUE(test::PumpUntil([&] { return program.boxes->shown.size() == 1; }));
    EXPECT_TRUE(window.Timer1->isActive()) << "the timer fired while the box was open";
    ASSERT_TRUE(test::PumpUntil([&] { return !window.Timer1->isActive(); }, 3000));
    EXPECT_EQ(ListOf(test::Ui(window).url_edit), QStringList{"http://auto.example.test"});
}

TEST(Startup, WithExecuteOffThePagesAreActivatedButNoQueryRuns) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=auto.example.test\r\nexecute=false\r\n");
    Tmain window(program.Services());
    test::Ui(window).cxPageControl1->setCurrentIndex(4);
    window.Timer1Timer();
    EXPECT_EQ(test::Ui(window).cxPageControl1->currentIndex(), 0);
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "auto.example.test");
    EXPECT_EQ(test::Ui(window).url_edit->count(), 0);
    EXPECT_FALSE(window.Timer1->isActive());
}

TEST(Startup, AnExecuteWordOtherThanFalseStillRunsTheQuery) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=auto.example.test\r\nexecute=False\r\n");
    Tmain window(program.Services());
    window.Timer1Timer();
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "http://auto.example.test");
}

TEST(Shutdown, SavesNewUrlsInOrderOfFirstUseAndKeepsTheFiftyNewest) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n" + HistorySection(0, 49));
    {
        Tmain window(program.Services());
        for (const char* url : {"new1.example.test", "SITE48.TEST/", "new2.example.test"}) {
            test::Ui(window).url_edit->setEditText(url);
            window.goClick(test::Ui(window).go);
        }
        window.close();
        EXPECT_EQ(window.Settings(), nullptr);
        EXPECT_EQ(window.Timer1, nullptr);
    }
    SettingsStore store(program.folder.File("settings.ini"));
    const auto kept = store.ReadSectionEntries("last_url");
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept[0], "http://site1.test/");
    EXPECT_EQ(kept[47], "http://site48.test/");
    EXPECT_EQ(kept[48], "http://new1.example.test");
    EXPECT_EQ(kept[49], "http://new2.example.test");

    Tmain next(program.Services());
    EXPECT_EQ(test::Ui(next).url_edit->itemText(0), "http://new2.example.test");
    EXPECT_EQ(test::Ui(next).url_edit->itemText(1), "http://new1.example.test");
    EXPECT_EQ(test::Ui(next).url_edit->count(), 8);
}

TEST(Shutdown, APositionThatCannotBeSavedIsReportedAndTheHistoryIsStillSaved) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    program.folder.Write("hostlore.ini", "[main Position]\r\nLeft=10\r\n");
    const auto position = program.folder.File("hostlore.ini");
    std::filesystem::permissions(position, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    {
        Tmain window(program.Services());
        test::Ui(window).url_edit->setEditText("kept.example.test");
        window.goClick(test::Ui(window).go);
        window.close();
    }
    ASSERT_EQ(program.boxes->shown.size(), 1u);
    EXPECT_EQ(program.boxes->shown[0].text,
              QString::fromStdString("Unable to write to " + position.string() + "."));
    EXPECT_EQ(program.folder.Read("hostlore.ini"), "[main Position]\r\nLeft=10\r\n");
    SettingsStore store(program.folder.File("settings.ini"));
    EXPECT_EQ(store.ReadSectionEntries("last_url"),
              std::vector<std::string>{"http://kept.example.test"});
}

TEST(Shutdown, ClosingWithinTheFirstSecondRunsNoQuery) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\ndefault_url=auto.example.test\r\n");
    Tmain window(program.Services());
    window.close();
    test::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(test::Ui(window).url_edit->currentText(), "auto.example.test");
    EXPECT_FALSE(std::filesystem::exists(program.folder.File("settings.ini.bak")));
    EXPECT_EQ(program.ReadSettings(), "[general]\r\ndefault_url=auto.example.test\r\n");
}

TEST(Shutdown, AHistoryThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
    test::FakeProgram program;
    // A folder where the settings file should be: it can never be replaced.
    std::filesystem::create_directory(program.folder.File("settings.ini"));
    Tmain window(program.Services());
    window.show();
    test::Ui(window).url_edit->setEditText("example.test");
    window.goClick(test::Ui(window).go);
    EXPECT_TRUE(window.close());
    ASSERT_FALSE(program.boxes->shown.empty());
    EXPECT_EQ(program.boxes->shown.back().text.toStdString(),
              "Unable to write to " + program.folder.File("settings.ini").string() + ".");
    EXPECT_EQ(program.boxes->shown.back().caption, "Hostlore");
    EXPECT_FALSE(window.isVisible());
}

TEST(Shutdown, CtrlXCutsTheSelectionOfATextFieldAndQuitsEverywhereElse) {
    const struct {
        const char* field;  // the control with the focus
        bool selected;
        Qt::Key key;
        bool quits;
        const char* left;  // the URL box's text afterwards
    } cases[] = {
        {"url_edit", true, Qt::Key_X, false, ""},
        {"url_edit", false, Qt::Key_X, true, "http://typed.example.test/"},
        {"url_edit", true, Qt::Key_Q, true, "http://typed.example.test/"},
        {"Edit4", true, Qt::Key_X, false, "http://typed.example.test/"},
        {"Edit4", false, Qt::Key_X, true, "http://typed.example.test/"},
        {"Memo3", true, Qt::Key_X, false, "http://typed.example.test/"},
        {"go", false, Qt::Key_X, true, "http://typed.example.test/"},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.field) + (c.selected ? " selected " : " ") +
                                  QKeySequence(c.key).toString().toStdString();
        test::FakeProgram program;
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        MainServices services = program.Services();
        services.pagesAfterFirstPaint = true;  // the whois page's field comes later
        Tmain window(services);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(test::PumpUntil([&] { return window.findChild<QWidget*>("Memo3"); }));
        test::Ui(window).url_edit->setEditText("http://typed.example.test/");
        test::Ui(window).Edit4->setText("host.example.test");
        test::Ui(window).Memo3->setPlainText("Domain Name: example.test");
        auto* field = test::Find<QWidget>(window, c.field);
        PageControl* pages = test::Ui(window).cxPageControl1;
        for (int page = 0; page < pages->count(); ++page) {
            if (pages->widget(page)->isAncestorOf(field)) {
                pages->setCurrentIndex(page);
            }
        }
        field->setFocus();
        if (c.selected) {
            test::Ui(window).url_edit->lineEdit()->selectAll();
            test::Ui(window).Edit4->selectAll();
            test::Ui(window).Memo3->selectAll();
        }
        QTest::keyClick(QApplication::focusWidget(), c.key, Qt::ControlModifier);
        EXPECT_EQ(window.isVisible(), !c.quits) << label;
        EXPECT_EQ(test::Ui(window).url_edit->currentText(), c.left) << label;
        EXPECT_EQ(test::Ui(window).Edit4->text(), "host.example.test") << label;
    }
}

TEST(Shutdown, ClosingWhileWorkersAreBlockedNeitherHangsNorCrashes) {
    test::RecordingServer whois{"\r\n", test::ScriptedWhoisReply};
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n[whois]\r\nserver=127.0.0.1:" +
                          std::to_string(whois.Port()) + "\r\n");
    auto resolver = std::make_shared<test::Gate>();
    program.resolver->HoldLookupsAt(resolver);
    QElapsedTimer clock;
    std::vector<std::weak_ptr<TThread>> workers;
    {
        Tmain window(program.Services());
        test::Ui(window).url_edit->setEditText("silent.test");
        window.goClick(test::Ui(window).go);
        workers = window.CurrentRun()->Workers();
        // The host's look-up and the whois server hold their workers now.
        ASSERT_TRUE(test::PumpUntil([&] {
            return program.resolver->AskedNames().size() == 1 && whois.Requests().size() == 1;
        }));
        clock.start();
        window.close();
    }
    EXPECT_LT(clock.elapsed(), 1000);
    SettingsStore store(program.folder.File("settings.ini"));
    EXPECT_EQ(store.ReadSectionEntries("last_url"), std::vector<std::string>{"http://silent.test"});
    const auto alive = [&] {
        return std::count_if(workers.begin(), workers.end(),
                             [](const auto& worker) { return !worker.expired(); });
    };
    EXPECT_GE(alive(), 3) << "the look-up should still hold General Info, server and scan";
    resolver->Open();
    EXPECT_TRUE(test::PumpUntil([&] { return alive() == 0; }));
}

}  // namespace
}  // namespace hostlore
