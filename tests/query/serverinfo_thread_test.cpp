#include "query/serverinfo_thread.h"

#include <gtest/gtest.h>

#include "support/fake_views.h"
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

// Always the same moment: 10 March 2021, 12:00 UTC.
class FixedClock : public Clock {
  public:
    std::chrono::system_clock::time_point Now() const override {
        return std::chrono::system_clock::from_time_t(1615377600);
    }
};

class ServerInfoTest : public ::testing::TestWithParam<const char*> {
  protected:
    void Query(const std::string& url) {
        run.Start<serverinfo_thread>(url, page, settings, std::make_shared<FixedClock>());
        ASSERT_TRUE(run.WaitForEnd());
    }

    test::ScopedEnvironment zone{"TZ", "UTC0"};
    test::ScopedEnvironment allLocale{"LC_ALL", ""};
    test::ScopedEnvironment timeLocale{"LC_TIME", "en_US.UTF-8"};
    TNetHTTP settings{nullptr};
    test::RecordingGeneralInfo page;
    test::WorkerRun run;
};

TEST_F(ServerInfoTest, ShowsTheServerAndBothDates) {
    HeadServer server(
        "HTTP/1.1 200 OK\r\nServer: Apache\r\n (Unix)\r\nLast-Modified: Sat, 05 Nov 1994 10:00:00 "
        "GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n");
    Query(server.Url());
    EXPECT_EQ(page.serverType, "Apache (Unix)");
    EXPECT_EQ(page.lastModified, "11/05/1994");
    EXPECT_EQ(page.serverDate, "11/06/1994");
}

TEST_F(ServerInfoTest, AMissingServerAndDateShowAsEmptyAndTheZeroDate) {
    HeadServer server("HTTP/1.1 200 OK\r\nLast-Modified: Sat, 05 Nov 1994 10:00:00 GMT\r\n\r\n");
    Query(server.Url());
    EXPECT_EQ(page.serverType, "");
    EXPECT_EQ(page.serverDate, "12/30/1899");
}

TEST_F(ServerInfoTest, ARefusedConnectionOrARedirectMarksAllThreeFields) {
    int port = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        port = gone.Port();
    }
    HeadServer redirect("HTTP/1.1 301 Moved\r\nLocation: http://elsewhere.test/\r\n\r\n");
    for (const std::string& url :
         {"http://127.0.0.1:" + std::to_string(port) + "/", redirect.Url()}) {
        page = {};
        test::WorkerRun each;
        each.Start<serverinfo_thread>(url, page, settings, std::make_shared<FixedClock>());
        ASSERT_TRUE(each.WaitForEnd());
        EXPECT_EQ(page.serverType, "X") << url;
        EXPECT_EQ(page.lastModified, "X") << url;
        EXPECT_EQ(page.serverDate, "X") << url;
    }
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
    EXPECT_EQ(page.lastModified, expected);
}

INSTANTIATE_TEST_SUITE_P(Locales, ServerInfoTest,
                         ::testing::Values("en_US.UTF-8", "de_DE.UTF-8", "C.UTF-8"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace hostlore
