#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/recording_web_pane.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class ServicePagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings(
            "[general]\r\ndefault_url=\r\nexecute=false\r\n"
            "[url]\r\nSite_Info_url=http://info.test/?u=\r\n"
            "Whois_Source_url=http://who.test/\r\n"
            "Backward_Links_url=http://links.test/q=\r\n"
            "Similar_Pages_url=http://like.test/q=\r\n");
        window = std::make_unique<Tmain>(program.Services());
    }

    test::RecordingWebPane* Pane(const char* name) const {
        return test::Find<test::RecordingWebPane>(*window, name);
    }

    void Query(const QString& url) {
        test::Ui(*window).url_edit->setEditText(url);
        window->goClick(test::Ui(*window).go);
    }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(ServicePagesTest, AQuerySendsEachPaneToItsOwnService) {
    Query("www.shop.example.test/a");
    const std::pair<const char*, QString> expected[] = {
        {"WebBrowser1", "Navigate http://info.test/?u=http://www.shop.example.test/a"},
        {"WebBrowser3", "Navigate http://who.test/example.test"},
        {"WebBrowser2", "Navigate http://links.test/q=http://www.shop.example.test/a"},
        {"WebBrowser4", "Navigate http://like.test/q=http://www.shop.example.test/a"},
    };
    for (const auto& [name, call] : expected) {
        test::RecordingWebPane* pane = Pane(name);
        ASSERT_TRUE(test::PumpUntil([pane] { return !pane->calls.isEmpty(); })) << name;
        EXPECT_EQ(pane->calls, QStringList{call}) << name;
    }
}

TEST_F(ServicePagesTest, EachButtonCarriesItsHintAndActsOnItsOwnPane) {
    struct Case {
        const char* button;
        const char* pane;
        const char* hint;
    };
    const Case cases[] = {
        {"SpeedButton3", "WebBrowser1", "Back"},  {"SpeedButton4", "WebBrowser1", "Forward"},
        {"SpeedButton5", "WebBrowser1", "Stop"},  {"SpeedButton6", "WebBrowser1", "Refresh"},
        {"SpeedButton1", "WebBrowser3", "Back"},  {"SpeedButton15", "WebBrowser3", "Forward"},
        {"SpeedButton16", "WebBrowser3", "Stop"}, {"SpeedButton17", "WebBrowser3", "Refresh"},
        {"SpeedButton7", "WebBrowser2", "Back"},  {"SpeedButton8", "WebBrowser2", "Forward"},
        {"SpeedButton9", "WebBrowser2", "Stop"},  {"SpeedButton10", "WebBrowser2", "Refresh"},
        {"SpeedButton11", "WebBrowser4", "Back"}, {"SpeedButton12", "WebBrowser4", "Forward"},
        {"SpeedButton13", "WebBrowser4", "Stop"}, {"SpeedButton14", "WebBrowser4", "Refresh"},
    };
    const char* const panes[] = {"WebBrowser1", "WebBrowser2", "WebBrowser3", "WebBrowser4"};
    for (const auto& c : cases) {
        for (const char* name : panes) {
            Pane(name)->calls.clear();
        }
        QToolButton* button = test::Find<QToolButton>(*window, c.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), c.hint) << c.button;
        EXPECT_TRUE(button->isEnabled()) << c.button;
        button->click();
        const QString operation = QString::fromLatin1(c.hint) == "Refresh" ? "Reload" : c.hint;
        for (const char* name : panes) {
            const QStringList expected =
                name == std::string(c.pane) ? QStringList{operation} : QStringList{};
            EXPECT_EQ(Pane(name)->calls, expected) << c.button << " on " << name;
        }
    }
}

TEST_F(ServicePagesTest, BackOrForwardWithNowhereToGoChangesNothingAndSaysNothing) {
    test::RecordingWebPane* pane = Pane("WebBrowser1");
    test::Find<QToolButton>(*window, "SpeedButton3")->click();
    test::Find<QToolButton>(*window, "SpeedButton4")->click();
    EXPECT_TRUE(pane->CurrentUrl().isEmpty());

    pane->Navigate("http://only.test/");
    test::Find<QToolButton>(*window, "SpeedButton3")->click();
    test::Find<QToolButton>(*window, "SpeedButton4")->click();
    EXPECT_EQ(pane->CurrentUrl(), "http://only.test/");
    EXPECT_EQ(pane->calls,
              (QStringList{"Back", "Forward", "Navigate http://only.test/", "Back", "Forward"}));
    EXPECT_TRUE(program.boxes->shown.empty());
}

TEST_F(ServicePagesTest, EachPaneIsNamedAfterItsPageForScreenReaders) {
    const std::pair<const char*, const char*> panes[] = {{"WebBrowser1", "Site Info"},
                                                         {"WebBrowser3", "Whois Source"},
                                                         {"WebBrowser2", "Backward Links"},
                                                         {"WebBrowser4", "Similar Pages"}};
    for (const auto& [name, page] : panes) {
        EXPECT_EQ(Pane(name)->accessibleName(), page) << name;
    }
}

}  // namespace
}  // namespace hostlore
