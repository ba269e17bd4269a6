#include "query/whois/whois_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

using namespace std::chrono_literals;

constexpr const char* kBootstrap = R"({"services": [[["test"], ["https://rdap.nic.test/"]]]})";
constexpr const char* kUrl = "https://bootstrap.test/dns.json";

class WhoisSessionTest : public ::testing::Test {
  protected:
    // The base URL for example.test that a session finds at `now`; the
    // fetches it made are counted.
    std::optional<std::string> BaseUrl(WhoisSession& session,
                                       std::chrono::system_clock::time_point now,
                                       const std::string& url = kUrl) {
        const auto bootstrap = session.Bootstrap(url, now, [&](const std::string& asked) {
            fetched.push_back(asked);
            return served;
        });
        return bootstrap ? bootstrap->BaseUrlFor("example.test") : std::nullopt;
    }

    std::size_t CachedFiles() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(folder.Path() / "hostlore"), {}));
    }

    test::TemporaryFolder folder;
    RdapBootstrapCache cache{folder.Path() / "hostlore"};
    std::string served = kBootstrap;
    std::vector<std::string> fetched;
    const std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

TEST_F(WhoisSessionTest, TheBootstrapFileIsFetchedOncePerSessionAndKeptForADay) {
    WhoisSession first(cache);
    EXPECT_EQ(BaseUrl(first, now), "https://rdap.nic.test/");
    EXPECT_EQ(BaseUrl(first, now + 48h), "https://rdap.nic.test/");
    EXPECT_EQ(fetched, std::vector<std::string>{kUrl});

    WhoisSession nextWithinADay(cache);
    served = "{}";
    EXPECT_EQ(BaseUrl(nextWithinADay, now + 23h), "https://rdap.nic.test/");
    EXPECT_EQ(fetched.size(), 1U) << "the cached copy is used";

    WhoisSession nextDay(cache);
    EXPECT_EQ(BaseUrl(nextDay, now + 25h), std::nullopt) << "fetched again: not a bootstrap";
    EXPECT_EQ(fetched.size(), 2U);

    WhoisSession otherUrl(cache);
    served = kBootstrap;
    EXPECT_EQ(BaseUrl(otherUrl, now, "https://other.test/dns.json"), "https://rdap.nic.test/");
    EXPECT_EQ(fetched.size(), 3U) << "each URL has a copy of its own";
    EXPECT_EQ(CachedFiles(), 2U);
}

TEST_F(WhoisSessionTest, AnUnusableCacheIsIgnored) {
    WhoisSession first(cache);
    ASSERT_TRUE(BaseUrl(first, now));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / "hostlore")) {
        std::ofstream(entry.path()) << "{ not json";
    }
    WhoisSession second(cache);
    EXPECT_EQ(BaseUrl(second, now), "https://rdap.nic.test/");
    EXPECT_EQ(fetched.size(), 2U);

    folder.Write("not-a-folder", "");
    WhoisSession unwritable(RdapBootstrapCache(folder.File("not-a-folder")));
    EXPECT_EQ(BaseUrl(unwritable, now), "https://rdap.nic.test/");
}

// Queries of one top-level domain at once: one asks IANA, the others wait for
// its answer; when the asker gives up without one, the next one asks.
TEST_F(WhoisSessionTest, OneQueryAsksIanaWhileTheOthersWait) {
    WhoisSession session(cache);
    const auto never = [] { return false; };
    std::optional<WhoisSession::Claim> first;
    EXPECT_FALSE(session.AwaitRegistry("test", first, never));
    ASSERT_TRUE(first);

    std::atomic<int> claims{0};
    std::vector<std::optional<std::optional<WhoisServerAddress>>> answers(3);
    std::vector<std::thread> waiting;
    for (auto& answer : answers) {
        waiting.emplace_back([&] {
            std::optional<WhoisSession::Claim> claim;
            answer = session.AwaitRegistry("test", claim, never);
            claims += claim ? 1 : 0;
        });
    }
    std::this_thread::sleep_for(50ms);
    session.RememberRegistry("test", WhoisServerAddress{"whois.nic.test"});
    first.reset();
    for (auto& thread : waiting) {
        thread.join();
    }
    EXPECT_EQ(claims, 0);
    for (const auto& answer : answers) {
        EXPECT_EQ(answer, std::optional(std::optional(WhoisServerAddress{"whois.nic.test"})));
    }

    std::optional<WhoisSession::Claim> asker;
    EXPECT_FALSE(session.AwaitRegistry("other", asker, never));
    std::thread next([&] {
        std::optional<WhoisSession::Claim> claim;
        EXPECT_FALSE(session.AwaitRegistry("other", claim, never));
        EXPECT_TRUE(claim) << "the question passes on when nobody answered it";
    });
    std::this_thread::sleep_for(50ms);
    asker.reset();
    next.join();
}

}  // namespace
}  // namespace hostlore
