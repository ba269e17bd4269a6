#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>

#include "app/about_box.h"
#include "app/font_scale.h"
#include "app/help_window.h"
#include "app/page_control.h"
#include "app/pages/neighbourhood_page.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_desktop_opener.h"
#include "support/fake_services.h"
#include "support/recording_web_pane.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    test::FakeProgram program;
    Tmain window{program.Services()};
};

TEST_F(MainWindowTest, HasThePagesInOrderWithTabsOnTheLeft) {
    const QStringList names = {
        "General Info", "DNS Records",    "Web Server",    "Whois Info",      "Site Info",
        "Whois Source", "Backward Links", "Similar Pages", "IP Neighborhood", "Local Network Info"};
    ASSERT_EQ(test::Ui(window).cxPageControl1->count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        const VerticalTab* tab = test::Ui(window).cxPageControl1->tab(i);
        EXPECT_EQ(tab->text().trimmed(), names[i]);
        EXPECT_EQ(tab->accessibleName(), names[i]);
        EXPECT_EQ(test::Ui(window).cxPageControl1->widget(i)->objectName(), names[i]);
        EXPECT_FALSE(tab->icon().isNull());
        EXPECT_TRUE(tab->font().underline());
    }
    EXPECT_EQ(window.windowTitle(), "Hostlore");
    EXPECT_EQ(window.size(), QSize(583, 430));
}

TEST_F(MainWindowTest, EveryTabStaysInSightInColumnsOnTheLeft) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const PageControl* pages = test::Ui(window).cxPageControl1;
    const QRect area = pages->rect();
    int left = 0;
    for (int i = 0; i < pages->count(); ++i) {
        const QRect tab = pages->tab(i)->geometry();
        EXPECT_TRUE(area.contains(tab)) << i;
        EXPECT_LE(tab.height(), VerticalTab::MaxLength()) << i;
        EXPECT_LT(tab.width(), tab.height()) << "captions run vertically";
        left = std::max(left, tab.right());
    }
    EXPECT_LT(left, pages->widget(0)->mapTo(pages, QPoint(0, 0)).x());
}

TEST_F(MainWindowTest, ClickingATabShowsItsPage) {
    window.show();
    test::Ui(window).cxPageControl1->tab(kNeighbourhoodPage)->click();
    EXPECT_EQ(test::Ui(window).cxPageControl1->currentIndex(), kNeighbourhoodPage);
    EXPECT_TRUE(test::Ui(window).ListBox1->isVisible());
    EXPECT_TRUE(test::Ui(window).cxPageControl1->tab(kNeighbourhoodPage)->isChecked());
    EXPECT_FALSE(test::Ui(window).cxPageControl1->tab(0)->isChecked());
}

TEST(PageControlPages, APagePutInPlaceOfTheShownOneIsShown) {
    PageControl pages;
    pages.addPage(new QWidget, QIcon(), QStringLiteral("one"));
    pages.addPage(new QWidget, QIcon(), QStringLiteral("two"));
    pages.setCurrentIndex(1);
    pages.show();
    const QPointer<QWidget> standIn = pages.widget(1);
    auto* page = new QWidget;
    pages.setPage(1, page);
    EXPECT_TRUE(standIn.isNull());
    EXPECT_EQ(pages.currentIndex(), 1);
    EXPECT_EQ(pages.widget(1), page);
    EXPECT_TRUE(page->isVisible());
}

TEST_F(MainWindowTest, EveryNamedControlCarriesItsName) {
    const char* const names[] = {"url_edit",      "go",
                                 "SpeedButton2",  "cxPageControl1",
                                 "Edit1",         "Memo1",
                                 "Edit2",         "Edit3",
                                 "Edit4",         "Edit5",
                                 "whois_stop",    "Label5",
                                 "Memo3",         "Label12",
                                 "Label18",       "Label13",
                                 "Label14",       "SpeedButton1",
                                 "SpeedButton3",  "SpeedButton4",
                                 "SpeedButton5",  "SpeedButton6",
                                 "SpeedButton7",  "SpeedButton8",
                                 "SpeedButton9",  "SpeedButton10",
                                 "SpeedButton11", "SpeedButton12",
                                 "SpeedButton13", "SpeedButton14",
                                 "SpeedButton15", "SpeedButton16",
                                 "SpeedButton17", "ip_nei_stop",
                                 "Label11",       "Label15",
                                 "ListBox1",      "PopupMenu1",
                                 "Memo4",         "Memo2",
                                 "Timer1"};
    for (const char* name : names) {
        EXPECT_NE(window.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    }
}

TEST_F(MainWindowTest, ButtonsCarryTheirHints) {
    const std::pair<const char*, const char*> hints[] = {
        {"go", "Get Hostlore"},
        {"SpeedButton2", "Get The URL Currently Open In The Internet Explorer"},
        {"whois_stop", "Stop Whois Query"},
        {"ip_nei_stop", "Stop IP Neighborhood Query"}};
    for (const auto& [name, hint] : hints) {
        auto* button = window.findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolTip(), hint) << name;
    }
}

TEST_F(MainWindowTest, ResultFieldsAreNamedForScreenReadersAfterTheirCaptions) {
    const std::pair<QWidget*, const char*> fields[] = {
        {test::Ui(window).Memo1, "IP Address"},
        {test::Ui(window).Edit1, "This Website Located in:"},
        {test::Ui(window).Edit4, "Host Name"},
        {test::Ui(window).Edit2, "Server Type"},
        {test::Ui(window).Edit3, "Last Modified"},
        {test::Ui(window).Edit5, "Server Date"},
        {test::Ui(window).FinalAddress, "Final Address"},
        {test::Ui(window).Certificate, "Certificate"},
        {test::Ui(window).Memo3, "Whois Info"},
        {test::Ui(window).Label5, "Status:"},
        {test::Ui(window).Label11, "Status:"},
        {test::Ui(window).ListBox1, "IP Neighborhood"},
        {test::Ui(window).Memo4, "Local Network Parameters"},
        {test::Ui(window).Memo2, "Local Adapter Information"},
        {test::Ui(window).url_edit, "URL"},
        {test::Ui(window).Label12, "Site Info"}};
    for (const auto& [widget, caption] : fields) {
        EXPECT_EQ(widget->accessibleName(), caption) << widget->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, TextsFromOutsideAreShownAsPlainText) {
    for (const QLabel* label :
         {test::Ui(window).Label5, test::Ui(window).Label11, test::Ui(window).Label12,
          test::Ui(window).Label13, test::Ui(window).Label14, test::Ui(window).Label18,
          test::Ui(window).Label15}) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, PagesHoldTheirFixedTextsAndPictures) {
    EXPECT_FALSE(test::Ui(window).Banner->pixmap().isNull());
    EXPECT_EQ(test::Ui(window).Label15->text(),
              "This function would take an IP address and do a resolve for the last and the "
              "next number IPs. This is not often found, but can be very useful to see what "
              "other website domains are hosted by the same ISP. ");
    EXPECT_EQ(test::Ui(window).Memo4->width(), 161);
    EXPECT_EQ(test::Ui(window).Label5->text(), " ");
    EXPECT_EQ(test::Ui(window).Label11->text(), " ");
}

TEST_F(MainWindowTest, MenusCarryTheirShortcuts) {
    EXPECT_EQ(test::Ui(window).Exit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(test::Ui(window).HelpTopic1->shortcut(), QKeySequence(Qt::Key_F1));
    QStringList menus;
    for (const QAction* action : window.menuBar()->actions()) {
        menus << action->text().remove('&');
    }
    EXPECT_EQ(menus, (QStringList{"File", "Options", "Help"}));
}

TEST_F(MainWindowTest, AboutBoxNamesTheSettingsFolderInUse) {
    QString folder;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, &window, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (const auto* line = box->findChild<QLabel*>(QStringLiteral("SettingsFolder"))) {
            folder = line->text();
            format = line->textFormat();
        }
        box->close();
    });
    test::Ui(window).About1->trigger();
    EXPECT_EQ(folder.toStdString(), "Settings are kept in " + program.folder.Path().string());
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(MainWindowTest, HelpItemsOpenTheirTargetsThroughTheDesktop) {
    test::Ui(window).HelpTopic1->trigger();
    test::Ui(window).EmailSupport1->trigger();
    test::Ui(window).HostloreWebsite1->trigger();
    const QStringList& opened = program.shell->opened;
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0].toStdString(), (program.folder.Path() / "help" / "index.html").string());
    EXPECT_TRUE(opened[1].startsWith("mailto:"));
    EXPECT_TRUE(opened[2].startsWith("https://"));
}

TEST(HelpWindow, F1ShowsTheManualInTheProgramsOwnWindowWhileThePanesShowPages) {
    test::FakeProgram program;
    MainServices services = program.Services();
    services.webPanesShowPages = [] { return true; };
    Tmain window(services);
    window.show();
    test::Ui(window).HelpTopic1->trigger();
    test::Ui(window).HelpTopic1->trigger();
    const auto helpWindows = window.findChildren<HelpWindow*>();
    ASSERT_EQ(helpWindows.size(), 1);
    const HelpWindow* help = helpWindows.front();
    EXPECT_TRUE(help->isWindow());
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Hostlore Help");
    const auto* pane = help->findChild<test::RecordingWebPane*>();
    ASSERT_NE(pane, nullptr);
    const QString manual =
        QUrl::fromLocalFile(
            QString::fromStdString((program.folder.Path() / "help" / "index.html").string()))
            .toString();
    EXPECT_EQ(pane->calls, QStringList{"Navigate " + manual});
    EXPECT_TRUE(program.shell->opened.isEmpty());

    // Closing the main window ends the program with help still open.
    QTimer::singleShot(0, &window, [&window] { window.close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(OpeningOutside, EachAddressNoProgramOpensShowsAnErrorBoxNamingIt) {
    const test::FakeDesktopOpener desktop(3);
    test::FakeProgram program;
    MainServices services = program.Services();
    services.shell =
        std::make_shared<DesktopShellOpener>(program.boxes, QStringLiteral("Hostlore"));
    Tmain window(services);
    test::Ui(window).HelpTopic1->trigger();
    test::Ui(window).EmailSupport1->trigger();
    test::Ui(window).HostloreWebsite1->trigger();
    window.findChild<NeighbourhoodPage*>()->AppendItem("192.0.2.10    www.example.test");
    QListWidget* neighbours = test::Ui(window).ListBox1;
    neighbours->setCurrentRow(0);
    neighbours->item(0)->setSelected(true);
    test::Find<QAction>(window, "Open1")->trigger();
    ASSERT_TRUE(test::PumpUntil([&] { return program.boxes->shown.size() == 4; }));
    QStringList texts;
    for (const test::ShownBox& box : program.boxes->shown) {
        texts << box.text;
    }
    texts.sort();
    const QString manual =
        QString::fromStdString((program.folder.Path() / "help" / "index.html").string());
    EXPECT_EQ(texts, (QStringList{"Could not open " + manual + ": no program is set to open it.",
                                  "Could not open http://www.example.test: no program is set to "
                                  "open it.",
                                  "Could not open https://hostlore.example/: no program is set to "
                                  "open it.",
                                  "Could not open mailto:support@hostlore.example: no program is "
                                  "set to open it."}));
}

TEST_F(MainWindowTest, ErrorBoxesCarryTheApplicationTitleAndEndInAFullStop) {
    window.ShowError(QStringLiteral("Winsock Version Error"));
    window.ShowError(QStringLiteral("Already ends."));
    ASSERT_EQ(program.boxes->shown.size(), 2u);
    EXPECT_EQ(program.boxes->shown[0].text, "Winsock Version Error.");
    EXPECT_EQ(program.boxes->shown[0].caption, "Hostlore");
    EXPECT_EQ(program.boxes->shown[0].icon, BoxIcon::Error);
    EXPECT_EQ(program.boxes->shown[1].text, "Already ends.");
}

TEST_F(MainWindowTest, AFailureEscapingAHandlerIsShownInAnErrorBox) {
    bool ranAfter = false;
    window.Guarded([] { throw std::runtime_error("Winsock Version Error"); })();
    window.Guarded([&] { ranAfter = true; })();
    ASSERT_EQ(program.boxes->shown.size(), 1u);
    EXPECT_EQ(program.boxes->shown[0].text, "Winsock Version Error.");
    EXPECT_EQ(program.boxes->shown[0].caption, "Hostlore");
    EXPECT_TRUE(ranAfter);
}

TEST(UrlBoxWidth, LongHistoryEntriesWidenNeitherTheBoxNorTheWindow) {
    const int designedWidth = qRound(583 * GrowthScale());
    int boxWidth = 0;
    QSize firstSize;
    for (const int length : {0, 238, 3000}) {
        const std::string url = "http://tracked.example.test/?q=" + std::string(length, 'a');
        test::FakeProgram program;
        program.WriteSettings("[general]\r\nexecute=false\r\n" +
                              (length > 0 ? "[last_url]\r\n" + url + "=\r\n" : std::string()));
        Tmain window(program.Services());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QComboBox* box = test::Ui(window).url_edit;
        EXPECT_EQ(window.width(), designedWidth) << length;
        EXPECT_LE(window.minimumSizeHint().width(), designedWidth) << length;
        if (length == 0) {
            boxWidth = box->width();
            firstSize = window.size();
            continue;
        }
        EXPECT_EQ(window.size(), firstSize) << length;
        EXPECT_EQ(box->width(), boxWidth) << length;
        box->showPopup();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(test::PumpUntil([&] { return list->isVisible(); }));
        EXPECT_LE(list->width(), window.width()) << length;
        const QPoint entry = list->visualRect(list->model()->index(0, 0)).center();
        QHelpEvent hover(QEvent::ToolTip, entry, list->viewport()->mapToGlobal(entry));
        QCoreApplication::sendEvent(list->viewport(), &hover);
        EXPECT_EQ(QToolTip::text().toStdString(), url) << length;
        QToolTip::hideText();
        box->hidePopup();
    }
}

TEST(FirstStart, TheWindowIsCentredAtTheSizeItOpensAt) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    MainServices services = program.Services();
    services.pagesAfterFirstPaint = true;
    Tmain window(services);
    window.show();
    // Also once the pages the first window does not show have come.
    ASSERT_TRUE(test::PumpUntil([&] { return window.findChild<QObject*>("Memo2") != nullptr; }));
    QCoreApplication::processEvents();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(QRect(window.pos(), window.size()),
              QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), area));
}

TEST(StoredWindowSize, ASizeLargerThanTheScreenShrinksToFitIt) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    program.folder.Write("hostlore.ini",
                         "[main Position]\r\nisdesigned=y\r\nWindowState=0\r\n"
                         "Left=-11440\r\nTop=" +
                             std::to_string(area.top()) + "\r\nWidth=24160\r\nHeight=" +
                             std::to_string(area.height() + 500) + "\r\n");
    Tmain window(program.Services());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(QRect(window.pos(), window.size()), area);
}

}  // namespace
}  // namespace hostlore
