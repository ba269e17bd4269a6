#include "localinfo/running_browsers.h"

#include <gtest/gtest.h>
#include <lz4.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <thread>

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

TEST(DecodeMozLz4, RefusesWhatIsNotAMozLz4File) {
    EXPECT_FALSE(DecodeMozLz4(""));
    EXPECT_FALSE(DecodeMozLz4("plain json {}"));
    EXPECT_FALSE(DecodeMozLz4(std::string("mozLz40\0\x10\0\0\0garbage", 19)));
    EXPECT_EQ(DecodeMozLz4(MozLz4(R"({"a":1})")), R"({"a":1})");
}

}  // namespace
}  // namespace hostlore
