#include "localinfo/running_browsers.h"

#include <gtest/gtest.h>
#include <lz4.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <fstream>
#include <thread>

#include "net/anti_freeze.h"
#include "support/loopback_server.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

std::string MozLz4(const std::string& json) {
    std::string compressed(
        static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(json.size()))), '\0');
    const int size =
        LZ4_compress_default(json.data(), compressed.data(), static_cast<int>(json.size()),
                             static_cast<int>(compressed.size()));
    std::string file("mozLz40\0", 8);
    for (int i = 0; i < 4; ++i) {
        file += static_cast<char>((json.size() >> (8 * i)) & 0xFF);
    }
    return file + compressed.substr(0, static_cast<std::size_t>(size));
}

QJsonObject Entry(const QString& url, const QString& title) {
    return QJsonObject{{"url", url}, {"title", title}};
}

// A session of two windows; the second is selected, its third tab is, and that
// tab went back to its first entry of two.
std::string Session(const QString& url, const QString& title) {
    const QJsonObject other{{"entries", QJsonArray{Entry("http://other.test/", "Other")}},
                            {"index", 1}};
    const QJsonObject chosen{
        {"entries", QJsonArray{Entry(url, title), Entry("http://later.test/", "Later")}},
        {"index", 1}};
    const QJsonObject firstWindow{{"tabs", QJsonArray{other}}, {"selected", 1}};
    const QJsonObject secondWindow{{"tabs", QJsonArray{other, other, chosen, other}},
                                   {"selected", 3}};
    const QJsonObject session{{"windows", QJsonArray{firstWindow, secondWindow}},
                              {"selectedWindow", 2}};
    return QJsonDocument(session).toJson().toStdString();
}

class RunningBrowsersTest : public ::testing::Test {
  protected:
    void WriteProfile(const std::string& name, const std::string& session,
                      const std::string& lockTarget) {
        const auto profile = home.Path() / ".mozilla/firefox" / name;
        std::filesystem::create_directories(profile / "sessionstore-backups");
        std::ofstream(profile / "sessionstore-backups/recovery.jsonlz4", std::ios::binary)
            << MozLz4(session);
        if (!lockTarget.empty()) {
            std::filesystem::create_symlink(lockTarget, profile / "lock");
        }
    }
    void PointChromiumAt(int port) {
        std::filesystem::create_directories(home.Path() / ".config/chromium");
        std::ofstream(home.Path() / ".config/chromium/DevToolsActivePort")
            << port << "\n/devtools/browser/x\n";
    }
    int ClosedPort() {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        return gone.Port();
    }
    RunningBrowsers Browsers() const {
        return RunningBrowsers(home.Path(), home.Path() / ".config");
    }

    test::TemporaryFolder home;
};

TEST_F(RunningBrowsersTest, NothingRunningGivesNoReply) {
    PointChromiumAt(ClosedPort());
    EXPECT_FALSE(Browsers().ActivePageReply());
    EXPECT_EQ(GetBrowserURL(*std::make_unique<RunningBrowsers>(Browsers())), "XXX");
}

TEST_F(RunningBrowsersTest, ReadsTheSelectedTabOfTheSelectedFirefoxWindow) {
    PointChromiumAt(ClosedPort());
    WriteProfile("abc.default", Session("http://www.example.test/page", "Example Page"), "");
    EXPECT_EQ(Browsers().ActivePageReply(), R"("http://www.example.test/page","Example Page")");
}

TEST_F(RunningBrowsersTest, PrefersTheProfileAFirefoxProcessHoldsOverANewerOne) {
    PointChromiumAt(ClosedPort());
    WriteProfile("live.default", Session("http://live.test/", "Live"),
                 "127.0.1.1:+" + std::to_string(::getpid()));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    WriteProfile("stale.default", Session("http://stale.test/", "Stale"), "127.0.1.1:+999999999");
    EXPECT_EQ(Browsers().ActivePageReply(), R"("http://live.test/","Live")");
}

TEST_F(RunningBrowsersTest, WithoutALiveProfileTheNewestSessionCounts) {
    PointChromiumAt(ClosedPort());
    WriteProfile("old.default", Session("http://old.test/", "Old"), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    WriteProfile("new.default", Session("http://new.test/", "New"), "");
    EXPECT_EQ(Browsers().ActivePageReply(), R"("http://new.test/","New")");
}

TEST_F(RunningBrowsersTest, TitlesThatHideTheUrlStillComeBackForTheRulesToRefuse) {
    PointChromiumAt(ClosedPort());
    WriteProfile("abc.default", Session("http://a.test/", "about:blank and file:///x"), "");
    const auto reply = Browsers().ActivePageReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(UrlFromBrowserReply(reply), "XXX");
}

TEST_F(RunningBrowsersTest, AsksChromiumForItsFirstPageWhenFirefoxHasNone) {
    test::LoopbackServer devtools([](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n\r\n");
        peer.Send(
            "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n\r\n"
            R"([{"type":"service_worker","url":"http://worker.test/","title":"W"},)"
            R"({"type":"page","url":"http://chromium.test/","title":"Chromium Page"},)"
            R"({"type":"page","url":"http://second.test/","title":"Second"}])");
    });
    PointChromiumAt(devtools.Port());
    EXPECT_EQ(Browsers().ActivePageReply(), R"("http://chromium.test/","Chromium Page")");
}

constexpr const char* kPageList =
    R"([{"type":"page","url":"http://chromium.test/","title":"Chromium Page"}])";

// Answers as a Chromium debugging server does: a request that is not HTTP/1.1
// or has no Host line gets 400 and a close; a good one gets its body with a
// Content-Length, and the connection stays open until the client closes it.
void AnswerAsChromium(test::ServerConnection& peer, const std::string& body) {
    const std::string request = peer.ReadUntil("\r\n\r\n");
    const std::string requestLine = request.substr(0, request.find("\r\n"));
    const bool http11 =
        requestLine.size() >= 8 && requestLine.compare(requestLine.size() - 8, 8, "HTTP/1.1") == 0;
    if (!http11 || request.find("\r\nHost: ") == std::string::npos) {
        peer.Send("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        return;
    }
    peer.Send(
        "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=UTF-8\r\n"
        "Content-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body);
    peer.WaitForClientClose();
}

TEST_F(RunningBrowsersTest, AsksChromiumInHttp11AndReadsTheBodyByItsLength) {
    test::LoopbackServer devtools(
        [](test::ServerConnection& peer) { AnswerAsChromium(peer, kPageList); });
    PointChromiumAt(devtools.Port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Browsers().ActivePageReply(), R"("http://chromium.test/","Chromium Page")");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5))
        << "the answer is complete once its Content-Length has arrived";
}

// The window does not respond while the capture waits: no timer of its, no
// second click can run inside the capture's handler.
TEST_F(RunningBrowsersTest, TheCaptureHandlesNoWindowEventsWhileItWaits) {
    test::LoopbackServer devtools([](test::ServerConnection& peer) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        AnswerAsChromium(peer, kPageList);
    });
    PointChromiumAt(devtools.Port());
    const auto antiFreeze = std::make_shared<TNetAntiFreeze>();
    TNetAntiFreeze::Install(antiFreeze);
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    RunningBrowsers browsers = Browsers();
    EXPECT_EQ(GetBrowserURL(browsers), "http://chromium.test/");
    EXPECT_FALSE(fired) << "a window event ran inside the capture";
    TNetAntiFreeze::Uninstall(antiFreeze.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(fired) << "the event waited for the capture's end";
}

TEST_F(RunningBrowsersTest, RefusesADevToolsListOverOneMebibyte) {
    const std::string padding(1 << 20, ' ');
    const std::string body = std::string(kPageList).insert(1, padding);
    for (const bool declared : {true, false}) {
        test::LoopbackServer devtools([&](test::ServerConnection& peer) {
            peer.ReadUntil("\r\n\r\n");
            peer.Send("HTTP/1.1 200 OK\r\n" +
                      (declared ? "Content-Length: " + std::to_string(body.size()) + "\r\n"
                                : std::string()) +
                      "\r\n" + body);
        });
        PointChromiumAt(devtools.Port());
        EXPECT_FALSE(Browsers().ActivePageReply()) << "declared: " << declared;
    }
}

// Two windows, the second with one tab of one entry; the indices as given.
std::string SessionSelecting(const std::string& window, const std::string& tab,
                             const std::string& entry) {
    return R"({"windows":[{"tabs":[{"entries":[{"url":"http://other.test/"}],"index":1}],)"
           R"("selected":1},{"tabs":[{"entries":[{"url":"http://a.test/","title":"A"}],)"
           R"("index":)" +
           entry + R"(}],"selected":)" + tab + R"(}],"selectedWindow":)" + window + "}";
}

TEST_F(RunningBrowsersTest, IndicesOutsideTheSessionMeanNoPage) {
    PointChromiumAt(ClosedPort());
    WriteProfile("abc.default", SessionSelecting("2", "1", "1"), "");
    ASSERT_EQ(Browsers().ActivePageReply(), R"("http://a.test/","A")");
    for (const std::string index :
         {"-9223372036854775808", "9223372036854775807", "0", "-1", "3", "1e300", "1.5"}) {
        for (const auto& session :
             {SessionSelecting(index, "1", "1"), SessionSelecting("2", index, "1"),
              SessionSelecting("2", "1", index)}) {
            WriteProfile("abc.default", session, "");
            EXPECT_FALSE(Browsers().ActivePageReply()) << session;
        }
    }
}

TEST(DecodeMozLz4, RefusesASessionDeclaredOver64Mebibytes) {
    const std::string json = R"({"pad":")" + std::string((64 << 20) - 9, ' ') + R"("})";
    ASSERT_EQ(json.size(), (64u << 20) + 1);
    EXPECT_FALSE(DecodeMozLz4(MozLz4(json)));
    const std::string fits = R"({"pad":")" + std::string((64 << 20) - 10, ' ') + R"("})";
    EXPECT_EQ(DecodeMozLz4(MozLz4(fits)), fits);
}

TEST(DecodeMozLz4, RefusesWhatIsNotAMozLz4File) {
    EXPECT_FALSE(DecodeMozLz4(""));
    EXPECT_FALSE(DecodeMozLz4("plain json {}"));
    EXPECT_FALSE(DecodeMozLz4(std::string("mozLz40\0\x10\0\0\0garbage", 19)));
    EXPECT_EQ(DecodeMozLz4(MozLz4(R"({"a":1})")), R"({"a":1})");
}

}  // namespace
}  // namespace hostlore
