#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <map>

#include "app/help_window.h"
#include "app/main_window.h"
#include "app/web_engine/deferred_web_engine.h"
#include "app/web_engine/web_engine_pane.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

constexpr int kEngineWait = 30000;

// A small page titled after its target. A few targets carry scripts that ask
// for what a page should not get.
test::Reply Page(const std::string& target, int port) {
    // The window opening pages fill the pane with what a click opens.
    const std::string clicked =
        "<style>a{display:block;height:100vh}</style>"
        "<script>addEventListener('click', () => { document.title = 'clicked'; });</script>";
    const std::map<std::string, std::string> scripts = {
        {"/opener", "<script>window.open('/opened');</script>"},
        {"/frame-opener", "</head><body><iframe src='http://localhost:" + std::to_string(port) +
                              "/opener'></iframe>"},
        {"/link-opener", clicked + "</head><body><a href='/opened' target='_blank'>open</a>"},
        {"/script-opener", clicked + "</head><body><a href='#' onclick=\"window.open("
                                     "'javascript:document.write(1)'); return false;\">open</a>"},
        {"/data-opener",
         clicked + "</head><body><a href='data:text/html,blank' target='_blank'>open</a>"},
        {"/asks",
         "<script>Notification.requestPermission().then("
         "answer => { document.title = answer; });</script>"},
    };
    const auto script = scripts.find(target);
    const std::string body = "<html><head><title>" + target + "</title>" +
                             (script != scripts.end() ? script->second : "") + "</head><body>" +
                             target + "</body></html>";
    return {
        {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nCache-Control: no-store\r\n"
         "Connection: close\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body}};
}

class WebPaneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string base = server.Url("");
        program.WriteSettings(
            "[general]\r\ndefault_url=\r\nexecute=false\r\n[url]\r\n"
            "Site_Info_url=" +
            base + "/site?url=\r\n" + "Whois_Source_url=" + base + "/whois/\r\n" +
            "Backward_Links_url=" + base + "/links?q=link:\r\n" + "Similar_Pages_url=" + base +
            "/similar?q=related:\r\n");
        std::filesystem::create_directory(Manual().parent_path());
        program.folder.Write("help/index.html", "<title>The manual</title>");
        MainServices services = program.Services();
        UseWebEnginePanes(services, QStringLiteral(HOSTLORE_WEB_ENGINE_MODULE));
        window = std::make_unique<Tmain>(services);
    }

    void ShowAndWaitForEngine() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(
            test::PumpUntil([this] { return View("WebBrowser4") != nullptr; }, kEngineWait));
    }

    std::filesystem::path Manual() const { return program.folder.File("help") / "index.html"; }

    QWebEngineView* View(const char* pane) const {
        return qobject_cast<QWebEngineView*>(test::Find<WebEnginePane>(*window, pane)->View());
    }

    QString Path(const char* pane) const { return View(pane)->url().path(); }

    void Load(const char* pane, const QString& path) {
        test::Find<WebEnginePane>(*window, pane)
            ->Navigate(QString::fromStdString(server.Url("")) + path);
        ASSERT_TRUE(test::PumpUntil([&] { return View(pane)->title() == path; }, kEngineWait))
            << pane << " never showed " << path.toStdString();
    }

    void Click(const char* button) { test::Find<QToolButton>(*window, button)->click(); }

    bool ServerSaw(const std::string& target, std::size_t times = 1) const {
        return test::PumpUntil(
            [&] {
                const auto targets = Targets();
                return static_cast<std::size_t>(
                           std::count(targets.begin(), targets.end(), target)) >= times;
            },
            kEngineWait);
    }

    // Every target asked for so far, in order, less the engine's icon requests.
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets = server.Targets();
        std::erase(targets, "/favicon.ico");
        return targets;
    }

    test::RecordingServer server{"\r\n\r\n", [this](const test::Request& request) {
                                     return Page(request.target, server.Port());
                                 }};
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(WebPaneTest, AQueryLoadsEachServicePageAsBuiltEvenBeforeTheEngineRuns) {
    test::Ui(*window).url_edit->setEditText("http://www.shop.example.test/path?q=1");
    window->goClick(test::Ui(*window).go);
    ShowAndWaitForEngine();
    const std::pair<const char*, std::string> expected[] = {
        {"WebBrowser1", "/site?url=http://www.shop.example.test/path?q=1"},
        {"WebBrowser3", "/whois/example.test"},
        {"WebBrowser2", "/links?q=link:http://www.shop.example.test/path?q=1"},
        {"WebBrowser4", "/similar?q=related:http://www.shop.example.test/path?q=1"}};
    for (const auto& entry : expected) {
        const char* pane = entry.first;
        const std::string& target = entry.second;
        EXPECT_TRUE(ServerSaw(target)) << target;
        EXPECT_TRUE(test::PumpUntil(
            [&] { return View(pane)->title() == QString::fromStdString(target); }, kEngineWait))
            << pane;
    }
    EXPECT_EQ(Targets().size(), 4U);

    const QString storage = View("WebBrowser1")->page()->profile()->persistentStoragePath();
    EXPECT_TRUE(storage.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + "/hostlore/"))
        << storage.toStdString();
    for (const char* pane : {"WebBrowser2", "WebBrowser3", "WebBrowser4"}) {
        EXPECT_EQ(View(pane)->page()->profile(), View("WebBrowser1")->page()->profile());
    }
}

TEST_F(WebPaneTest, BackForwardAndRefreshActOnThePanesOwnHistory) {
    ShowAndWaitForEngine();
    Load("WebBrowser1", "/first");
    Load("WebBrowser1", "/second");
    Load("WebBrowser2", "/other");

    Click("SpeedButton3");  // Site Info's Back
    EXPECT_TRUE(test::PumpUntil([&] { return Path("WebBrowser1") == "/first"; }, kEngineWait));
    EXPECT_EQ(Path("WebBrowser2"), "/other");
    Click("SpeedButton4");  // Site Info's Forward
    EXPECT_TRUE(test::PumpUntil([&] { return Path("WebBrowser1") == "/second"; }, kEngineWait));
    Click("SpeedButton10");  // Backward Links' Refresh
    EXPECT_TRUE(ServerSaw("/other", 2));
    EXPECT_EQ(Path("WebBrowser1"), "/second");

    // Backward Links has nowhere to go back to.
    Click("SpeedButton7");
    QTest::qWait(500);
    EXPECT_EQ(Path("WebBrowser2"), "/other");
    EXPECT_EQ(View("WebBrowser2")->history()->count(), 1);
    EXPECT_TRUE(program.boxes->shown.empty());
}

TEST_F(WebPaneTest, ARefusedNavigationLeavesThePreviousPage) {
    ShowAndWaitForEngine();
    Load("WebBrowser3", "/kept");
    for (const QString& refused : {QString("hostlore-unknown-scheme:somewhere"), QString()}) {
        test::Find<WebEnginePane>(*window, "WebBrowser3")->Navigate(refused);
        QTest::qWait(1000);
        EXPECT_EQ(Path("WebBrowser3"), "/kept") << refused.toStdString();
        EXPECT_EQ(View("WebBrowser3")->title(), "/kept") << refused.toStdString();
    }
}

TEST_F(WebPaneTest, OnlyAWebPageTheUserOpensInANewWindowShowsInThePane) {
    ShowAndWaitForEngine();
    struct Opening {
        const char* page;
        bool click;
        const char* shown;  // the title the pane shows afterwards
    };
    const Opening openings[] = {
        {"/opener", false, "/opener"},     {"/frame-opener", false, "/frame-opener"},
        {"/link-opener", true, "/opened"}, {"/script-opener", true, "clicked"},
        {"/data-opener", true, "clicked"},
    };
    for (const Opening& opening : openings) {
        Load("WebBrowser4", opening.page);
        if (opening.click) {
            // A click before the page is laid out finds nothing to click.
            QWidget* input = View("WebBrowser4")->focusProxy();
            for (int tries = 0; tries < 20; ++tries) {
                QTest::mouseClick(input, Qt::LeftButton, {}, input->rect().center());
                if (test::PumpUntil([&] { return View("WebBrowser4")->title() != opening.page; },
                                    500)) {
                    break;
                }
            }
        }
        EXPECT_TRUE(test::PumpUntil([&] { return View("WebBrowser4")->title() == opening.shown; },
                                    kEngineWait))
            << opening.page;
        // Time for a window that should not be followed to show.
        QTest::qWait(1000);
        EXPECT_EQ(View("WebBrowser4")->title(), opening.shown) << opening.page;
    }
    const auto targets = Targets();
    EXPECT_EQ(std::count(targets.begin(), targets.end(), "/opened"), 1);
}

TEST_F(WebPaneTest, APageAskingForPermissionIsDenied) {
    ShowAndWaitForEngine();
    test::Find<WebEnginePane>(*window, "WebBrowser1")
        ->Navigate(QString::fromStdString(server.Url("")) + "/asks");
    EXPECT_TRUE(
        test::PumpUntil([&] { return View("WebBrowser1")->title() == "denied"; }, kEngineWait))
        << View("WebBrowser1")->title().toStdString();
}

TEST_F(WebPaneTest, WithoutItsHelperTheEngineStaysOffThePanesSaySoAndTheOtherPagesWork) {
    const test::ScopedEnvironment helper("QTWEBENGINEPROCESS_PATH",
                                         "/nonexistent/QtWebEngineProcess");
    program.resolver->Add("www.example.test", {"www.example.test", {{192, 0, 2, 10}}});
    window->show();
    for (const char* pane : {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser4"}) {
        const auto* shown = test::Find<WebEnginePane>(*window, pane);
        ASSERT_TRUE(
            test::PumpUntil([&] { return shown->findChild<QLabel*>() != nullptr; }, kEngineWait))
            << pane;
    }
    for (const char* pane : {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser4"}) {
        const auto* shown = test::Find<WebEnginePane>(*window, pane);
        EXPECT_EQ(shown->View(), nullptr) << pane;
        EXPECT_EQ(shown->findChild<QLabel*>()->text(),
                  "The browser engine is not available: its helper program "
                  "/nonexistent/QtWebEngineProcess is missing.");
    }

    test::Ui(*window).url_edit->setEditText("http://www.example.test/");
    window->goClick(test::Ui(*window).go);
    EXPECT_TRUE(test::PumpUntil(
        [&] { return test::Ui(*window).Memo1->toPlainText() == "192.0.2.10"; }, kEngineWait))
        << test::Ui(*window).Memo1->toPlainText().toStdString();

    // Help goes to the desktop instead.
    test::Ui(*window).HelpTopic1->trigger();
    EXPECT_EQ(program.shell->opened, QStringList{QString::fromStdString(Manual().string())});
    EXPECT_EQ(window->findChild<HelpWindow*>(), nullptr);
}

TEST_F(WebPaneTest, F1ShowsTheManualInTheProgramsOwnWindow) {
    ShowAndWaitForEngine();
    test::Ui(*window).HelpTopic1->trigger();
    const auto* help = window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    const auto* pane = help->findChild<WebEnginePane*>();
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            const auto* view = qobject_cast<QWebEngineView*>(pane->View());
            return view != nullptr && view->title() == "The manual";
        },
        kEngineWait));
    EXPECT_TRUE(program.shell->opened.isEmpty());
}

// The panes whose documents screen readers find focused or showing below the
// window.
struct DocumentStates {
    QStringList focused;
    QStringList showing;
};

void CollectDocuments(QAccessibleInterface* node, DocumentStates& states, int depth = 0) {
    if (node == nullptr || depth > 12) {
        return;
    }
    if (node->role() == QAccessible::WebDocument) {
        const QString name = node->parent()->object()->objectName();
        if (node->state().focused) {
            states.focused << name;
        }
        if (!node->state().invisible) {
            states.showing << name;
        }
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        CollectDocuments(node->child(i), states, depth + 1);
    }
}

TEST_F(WebPaneTest, ScreenReadersFindOnlyTheShownPageAndItOnlyFocusedWithTheKeyboardFocus) {
    QAccessible::setActive(true);
    ShowAndWaitForEngine();
    QApplication::setActiveWindow(window.get());
    for (const char* pane : {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser4"}) {
        Load(pane, QStringLiteral("/") + pane);
    }
    struct Moment {
        int page;
        const char* focusInPane;  // or in the URL box
        QStringList focused;
        QStringList showing;
    };
    const Moment moments[] = {
        {kGeneralInfoPage, nullptr, {}, {}},
        {kSiteInfoPage, nullptr, {}, {"WebBrowser1"}},
        {kSiteInfoPage, "WebBrowser1", {"WebBrowser1"}, {"WebBrowser1"}},
        {kSimilarPagesPage, "WebBrowser4", {"WebBrowser4"}, {"WebBrowser4"}},
    };
    for (const Moment& moment : moments) {
        test::Ui(*window).cxPageControl1->setCurrentIndex(moment.page);
        QWidget* focus = moment.focusInPane != nullptr
                             ? static_cast<QWidget*>(View(moment.focusInPane))
                             : static_cast<QWidget*>(test::Ui(*window).url_edit);
        focus->setFocus();
        ASSERT_TRUE(test::PumpUntil([&] { return focus->hasFocus(); })) << moment.page;
        DocumentStates states;
        CollectDocuments(QAccessible::queryAccessibleInterface(window.get()), states);
        EXPECT_EQ(states.focused, moment.focused) << moment.page;
        EXPECT_EQ(states.showing, moment.showing) << moment.page;
    }

    // The engine draws each view in a window of its own that never reaches the screen.
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    QStringList windows;
    for (int i = 0; i < application->childCount(); ++i) {
        windows << application->child(i)->object()->objectName();
    }
    EXPECT_EQ(windows, QStringList{"main"});
}

// Counts the events that make a widget lay out its contents anew.
class LayoutWatch : public QObject {
  public:
    explicit LayoutWatch(QWidget* widget) { widget->installEventFilter(this); }
    int layouts = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) {
            ++layouts;
        }
        return false;
    }
};

TEST_F(WebPaneTest, ThePanesPagesLeaveTheWhoisPageAsItIsLaidOut) {
    // The engine's views arrive and show their first pages while the whois
    // page is shown with a long reply; its text is costly to lay out anew.
    test::Ui(*window).cxPageControl1->setCurrentIndex(kWhoisInfoPage);
    QPlainTextEdit* whois = test::Ui(*window).Memo3;
    QStringList reply;
    for (int i = 0; i < 2000; ++i) {
        reply << QStringLiteral("Line %1 of a whois reply").arg(i);
    }
    whois->setPlainText(reply.join('\n'));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(100);
    const LayoutWatch memo(whois);
    const LayoutWatch text(whois->viewport());
    ShowAndWaitForEngine();
    for (const QString& path : {QStringLiteral("/first"), QStringLiteral("/second")}) {
        for (const char* pane : {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser4"}) {
            Load(pane, path + pane);
        }
    }
    QTest::qWait(200);
    EXPECT_EQ(memo.layouts + text.layouts, 0);
}

}  // namespace
}  // namespace hostlore
