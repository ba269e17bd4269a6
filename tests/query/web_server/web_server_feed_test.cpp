#include "query/web_server/web_server_feed.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "query/general_info/serverinfo_thread.h"
#include "support/fake_views.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"

namespace hostlore {
namespace {

using namespace std::chrono_literals;

// General Info's worker with the Web Server page beside it.
class WebServerFeedTest : public ::testing::Test {
  protected:
    static test::ServerOptions Tls() {
        test::ServerOptions options{"127.0.0.1", 0, test::TestCertificates::Get().Server("valid"),
                                    0};
        options.protocols = {"h2", "http/1.1"};
        return options;
    }

    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
    ConnectionSettings settings;
    test::RecordingGeneralInfo generalInfo;
    test::RecordingWebServer page;
};

TEST_F(WebServerFeedTest, EachHopShowsAsItEndsAndTheLastWithWhatTheServerIs) {
    // Slow to answer, so that the HTTP/2 check is over before the reply.
    const test::RecordingServer secure(
        "\r\n\r\n",
        [](const test::Request& request) {
            std::this_thread::sleep_for(100ms);
            return test::Always(
                "HTTP/1.1 200 OK\r\nStrict-Transport-Security: max-age=86400\r\n\r\n")(request);
        },
        Tls());
    const test::RecordingServer plain(
        "\r\n\r\n", test::ByTarget({{"/", test::Redirect(301, secure.Url())},
                                    {"/ftp", test::Redirect(301, "ftp://elsewhere.test/")},
                                    {"/forbidden",
                                     "HTTP/1.1 403 Forbidden\r\n"
                                     "X-Frame-Options: DENY\r\n\r\n"}}));
    const std::string refused = "http://127.0.0.1:" + std::to_string([] {
                                    const test::LoopbackListener closed = test::ListenOnLoopback(1);
                                    ::close(closed.descriptor);
                                    return closed.port;
                                }()) +
                                "/";
    struct Case {
        std::string url;
        std::size_t hops;
        std::string failure;
        bool sections;
        std::optional<bool> http2;
        bool tls;
    };
    const Case cases[] = {
        {secure.Url(), 1, "", true, true, true},
        {plain.Url(), 2, "", true, true, true},
        {plain.Url("/forbidden"), 1, "", true, std::nullopt, false},
        {plain.Url("/ftp"), 1, "301 Moved.", true, std::nullopt, false},
        {refused, 0, "Connection refused.", false, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        page = {};
        test::WorkerRun run;
        run.Start<serverinfo_thread>(c.url, generalInfo, settings, nullptr, &page);
        ASSERT_TRUE(run.WaitForEnd());
        ASSERT_FALSE(page.shown.empty());
        // One text a hop, and one more when the HTTP/2 check ends after the last.
        EXPECT_GE(page.shown.size(), std::max<std::size_t>(c.hops, 1));
        EXPECT_LE(page.shown.size(), std::max<std::size_t>(c.hops, 1) + 1);
        for (std::size_t i = 0; i + 1 < c.hops; ++i) {
            EXPECT_EQ(page.shown[i].report.hops.size(), i + 1);
            EXPECT_FALSE(page.shown[i].report.finished);
        }
        for (std::size_t i = 0; i + 1 < page.shown.size(); ++i) {
            const Http2Check& http2 = page.shown[i].report.http2;
            EXPECT_TRUE(!http2.accepted && http2.reason.empty()) << "shown again after the last";
        }
        const WebServerReport& last = page.shown.back().report;
        EXPECT_TRUE(last.finished);
        EXPECT_EQ(last.hops.size(), c.hops);
        EXPECT_EQ(last.failure, c.failure);
        EXPECT_EQ(last.security.has_value(), c.sections);
        EXPECT_EQ(last.http2.accepted, c.http2) << last.http2.reason;
        EXPECT_EQ(last.tls.has_value(), c.tls);
    }
}

TEST_F(WebServerFeedTest, AWindowSlowToShowAHopHoldsNeitherTheChainNorTheHopsTime) {
    struct SlowPage : test::RecordingWebServer {
        void Show(const WebServerReport& report, const QString& text) override {
            std::this_thread::sleep_for(300ms);
            RecordingWebServer::Show(report, text);
        }
    } slow;
    const test::RecordingServer secure("\r\n\r\n", test::Always("HTTP/1.1 200 OK\r\n\r\n"), Tls());
    const test::RecordingServer plain("\r\n\r\n", test::Always(test::Redirect(301, secure.Url())));
    test::WorkerRun run;
    run.Start<serverinfo_thread>(plain.Url(), generalInfo, settings, nullptr, &slow);
    ASSERT_TRUE(run.WaitForEnd());
    const WebServerReport& last = slow.shown.back().report;
    ASSERT_EQ(last.hops.size(), 2U);
    EXPECT_LT(last.hops[1].milliseconds, 300) << "the first hop's text was shown meanwhile";
}

TEST_F(WebServerFeedTest, TheHttp2CheckIsUnderWayBeforeTheRequestsHandshakeIsAnswered) {
    // Holds the request's hello until a second connection comes, or for long.
    std::atomic<int> connections{0};
    std::atomic<bool> checkCame{false};
    const test::LoopbackServer server([&](test::ServerConnection& peer) {
        if (connections++ > 0) {
            peer.ReadOnce();
            return;
        }
        peer.ReadOnce();
        const auto end = std::chrono::steady_clock::now() + 2s * HOSTLORE_TEST_TIME_SCALE;
        while (connections < 2 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(1ms);
        }
        checkCame = connections >= 2;
    });
    test::WorkerRun run;
    run.Start<serverinfo_thread>("https://127.0.0.1:" + std::to_string(server.Port()) + "/",
                                 generalInfo, settings, nullptr, &page);
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_TRUE(checkCame);
}

TEST_F(WebServerFeedTest, AStopEndsTheHeaderRequestAndTheHttp2CheckAlike) {
    // Takes the request, then the check's first handshake message, and says
    // no more to either.
    std::atomic<int> read{0};
    std::atomic<int> closed{0};
    test::ServerOptions options = Tls();
    options.tlsConnections = 1;
    const test::LoopbackServer silent(
        [&](test::ServerConnection& peer) {
            peer.ReadOnce();
            ++read;
            peer.WaitForClientClose();
            ++closed;
        },
        options);
    test::WorkerRun run;
    const auto worker =
        run.Start<serverinfo_thread>("https://127.0.0.1:" + std::to_string(silent.Port()) + "/",
                                     generalInfo, settings, nullptr, &page);
    ASSERT_TRUE(test::PumpUntil([&] { return read == 2; }));
    worker->StopConnections();
    EXPECT_TRUE(test::PumpUntil([&] { return closed == 2; }, 1000 * HOSTLORE_TEST_TIME_SCALE));
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(generalInfo.serverType, "X");
}

}  // namespace
}  // namespace hostlore
