#include "query/serverinfo_thread.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"

namespace hostlore {
namespace {

// Answers every HEAD request with the same header block.
class HeadServer {
  public:
    explicit HeadServer(std::string reply)
        : server_([reply](test::ServerConnection& peer) {
              peer.ReadUntil("\r\n\r\n");
              peer.Send(reply);
          }) {}
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.Port()) + "/"; }

  private:
    test::LoopbackServer server_;
};

class ServerInfoTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        window = std::make_unique<Tmain>(program.Services());
    }

    void Query(const std::string& url) {
        window->url_edit->setEditText(QString::fromStdString(url));
        window->goClick(window->go);
        ASSERT_TRUE(test::PumpUntil([&] { return !window->Edit5->text().isEmpty(); }));
    }

    test::ScopedEnvironment zone{"TZ", "UTC0"};
    test::ScopedEnvironment allLocale{"LC_ALL", ""};
    test::ScopedEnvironment timeLocale{"LC_TIME", "en_US.UTF-8"};
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(ServerInfoTest, ShowsTheServerAndBothDates) {
    HeadServer server(
        "HTTP/1.1 200 OK\r\nServer: Apache\r\n (Unix)\r\nLast-Modified: Sat, 05 Nov 1994 10:00:00 "
        "GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n");
    Query(server.Url());
    EXPECT_EQ(window->Edit2->text(), "Apache (Unix)");
    EXPECT_EQ(window->Edit3->text(), "11/05/1994");
    EXPECT_EQ(window->Edit5->text(), "11/06/1994");
}

TEST_F(ServerInfoTest, AMissingServerAndDateShowAsEmptyAndTheZeroDate) {
    HeadServer server("HTTP/1.1 200 OK\r\nLast-Modified: Sat, 05 Nov 1994 10:00:00 GMT\r\n\r\n");
    Query(server.Url());
    EXPECT_EQ(window->Edit2->text(), "");
    EXPECT_EQ(window->Edit5->text(), "12/30/1899");
}

TEST_F(ServerInfoTest, ARefusedConnectionMarksAllThreeFields) {
    int port = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        port = gone.Port();
    }
    Query("http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(window->Edit2->text(), "X");
    EXPECT_EQ(window->Edit3->text(), "X");
    EXPECT_EQ(window->Edit5->text(), "X");
}

TEST_F(ServerInfoTest, ARedirectMarksAllThreeFields) {
    HeadServer server("HTTP/1.1 301 Moved\r\nLocation: http://elsewhere.test/\r\n\r\n");
    Query(server.Url());
    EXPECT_EQ(window->Edit2->text(), "X");
    EXPECT_EQ(window->Edit5->text(), "X");
}

TEST_P(ServerInfoTest, AMissingLastModificationShowsTheDayBeforeYesterdayInAnyLocale) {
    test::ScopedEnvironment userLocale("LC_TIME", GetParam());
    HeadServer server(
        "HTTP/1.1 200 OK\r\nServer: Test\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n");
    Query(server.Url());
    // The fixed clock says 10 March 2021.
    const std::string expected = std::string(GetParam()) == "de_DE.UTF-8" ? "08.03.2021"
                                 : std::string(GetParam()) == "C.UTF-8"   ? "03/08/21"
                                                                          : "03/08/2021";
    EXPECT_EQ(window->Edit3->text().toStdString(), expected);
}

INSTANTIATE_TEST_SUITE_P(Locales, ServerInfoTest,
                         ::testing::Values("en_US.UTF-8", "de_DE.UTF-8", "C.UTF-8"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace hostlore
