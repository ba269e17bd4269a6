#include "query/general_info/serverinfo_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/fake_views.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"

namespace hostlore {
namespace {

// Answers every HEAD request with the same header block.
class ServerInfoTest : public ::testing::TestWithParam<const char*> {
  protected:
    void Query(const std::string& url) {
        run.Start<serverinfo_thread>(url, page, settings, nullptr);
        ASSERT_TRUE(run.WaitForEnd());
    }

    test::ScopedEnvironment zone{"TZ", "UTC0"};
    test::ScopedEnvironment allLocale{"LC_ALL", ""};
    test::ScopedEnvironment timeLocale{"LC_TIME", "en_US.UTF-8"};
    ConnectionSettings settings;
    test::RecordingGeneralInfo page;
    test::WorkerRun run;
};

TEST_F(ServerInfoTest, ShowsTheServerAndBothDates) {
    const test::RecordingServer server(
        "\r\n\r\n", test::Always("HTTP/1.1 200 OK\r\nServer: Apache\r\n (Unix)\r\nLast-Modified: "
                                 "Sat, 05 Nov 1994 10:00:00 "
                                 "GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n"));
    Query(server.Url());
    EXPECT_EQ(page.serverType, "Apache (Unix)");
    EXPECT_EQ(page.lastModified, "11/05/1994");
    EXPECT_EQ(page.serverDate, "11/06/1994");
}

TEST_F(ServerInfoTest, AMissingServerAndDateShowAsEmptyAndTheZeroDate) {
    const test::RecordingServer server(
        "\r\n\r\n",
        test::Always("HTTP/1.1 200 OK\r\nLast-Modified: Sat, 05 Nov 1994 10:00:00 GMT\r\n\r\n"));
    Query(server.Url());
    EXPECT_EQ(page.serverType, "");
    EXPECT_EQ(page.serverDate, "12/30/1899");
}

TEST_F(ServerInfoTest, AFailedRequestMarksAllThreeFieldsAndSaysWhy) {
    int port = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        port = gone.Port();
    }
    const test::RecordingServer redirect(
        "\r\n\r\n", test::Always("HTTP/1.1 301 Moved\r\nLocation: ftp://elsewhere.test/\r\n\r\n"));
    const std::pair<std::string, const char*> cases[] = {
        {"http://127.0.0.1:" + std::to_string(port) + "/", "Connection refused."},
        {redirect.Url(), "301 Moved."},
    };
    for (const auto& [url, reason] : cases) {
        page = {};
        test::WorkerRun each;
        each.Start<serverinfo_thread>(url, page, settings, nullptr);
        ASSERT_TRUE(each.WaitForEnd());
        EXPECT_EQ(page.serverType, "X") << url;
        EXPECT_EQ(page.lastModified, "X") << url;
        EXPECT_EQ(page.serverDate, "X") << url;
        EXPECT_EQ(page.serverFailure, reason) << url;
    }
}

// The certificate shows when its server answered, even with an error; the
// final address only when a redirect was followed to an answer.
TEST_F(ServerInfoTest, TheFinalAddressAndTheCertificateOfTheServerThatAnswered) {
    const test::ScopedEnvironment trust("SSL_CERT_FILE",
                                        test::TestCertificates::Get().RootFile().c_str());
    const test::ServerOptions tls{"127.0.0.1", 0, test::TestCertificates::Get().Server("valid"), 0};
    const test::RecordingServer secure(
        "\r\n\r\n",
        test::ByTarget(
            {{"/", "HTTP/1.1 200 OK\r\n\r\n"}, {"/ftp", test::Redirect(301, "ftp://127.0.0.1/")}}),
        tls);
    const std::string secureUrl = secure.Url();
    const test::RecordingServer plain(
        "\r\n\r\n", test::ByTarget({{"/", "HTTP/1.1 200 OK\r\n\r\n"},
                                    {"/secure", test::Redirect(301, secureUrl)}}));
    const std::string plainUrl = plain.Url();
    const std::string valid = "www.example.test, issued by Hostlore Test Authority, until ";
    struct Case {
        std::string url;
        const char* finalAddress;
        const char* certificate;  // the start of it, or all of it when short
        std::size_t redirects;
    };
    const Case cases[] = {
        {plainUrl, "", "", 0},
        {plainUrl + "secure", secureUrl.c_str(), valid.c_str(), 1},
        {secureUrl + "missing", "", valid.c_str(), 0},
        {secureUrl + "ftp", "", "X", 0},
        {"https://127.0.0.1:1/", "", "X", 0},
    };
    for (const Case& c : cases) {
        page = {};
        test::WorkerRun each;
        each.Start<serverinfo_thread>(c.url, page, settings, nullptr);
        ASSERT_TRUE(each.WaitForEnd());
        EXPECT_EQ(page.finalAddress, c.finalAddress) << c.url;
        EXPECT_EQ(page.certificate.substr(0, std::strlen(c.certificate)), c.certificate) << c.url;
        EXPECT_EQ(page.certificateSha256.size(), page.certificate.size() > 1 ? 95U : 0U) << c.url;
        EXPECT_EQ(std::count_if(page.hops.begin(), page.hops.end(),
                                [](const HopReport& hop) { return !hop.location.empty(); }),
                  c.redirects)
            << c.url;
    }
}

// No date stands in for one the server never sent, whatever the user's date
// format and time zone make of the missing date.
TEST_P(ServerInfoTest, AMissingOrUnreadableLastModificationIsNotGiven) {
    test::ScopedEnvironment userLocale("LC_TIME", GetParam());
    for (const char* zone : {"UTC0", "EST5", "JST-9"}) {
        test::ScopedEnvironment userZone("TZ", zone);
        for (const char* header : {"", "Last-Modified: yesterday\r\n"}) {
            const test::RecordingServer server(
                "\r\n\r\n", test::Always(std::string("HTTP/1.1 200 OK\r\nServer: Test\r\n") +
                                         header + "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n"));
            page = {};
            test::WorkerRun each;
            each.Start<serverinfo_thread>(server.Url(), page, settings, nullptr);
            ASSERT_TRUE(each.WaitForEnd());
            EXPECT_EQ(page.lastModified, "not given") << zone << " '" << header << "'";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, ServerInfoTest,
                         ::testing::Values("en_US.UTF-8", "de_DE.UTF-8", "C.UTF-8"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace hostlore
