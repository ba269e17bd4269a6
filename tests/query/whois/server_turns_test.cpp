#include "query/whois/server_turns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace hostlore {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Each query of a server notes when it started and how many ran with it.
struct Queries {
    void Ask(ServerTurns& turns, const std::string& server, const ServerManners& manners) {
        const auto turn = turns.Await(server, manners, [] { return false; });
        ASSERT_TRUE(turn);
        const int running = ++inFlight;
        {
            std::lock_guard lock(mutex);
            starts[server].push_back(Clock::now());
            most = std::max(most, running);
        }
        std::this_thread::sleep_for(30ms);
        --inFlight;
    }

    std::mutex mutex;
    std::map<std::string, std::vector<Clock::time_point>> starts;
    std::atomic<int> inFlight{0};
    int most = 0;
};

TEST(ServerTurns, OneServerIsAskedAtMostSoOftenAndOthersAreNotHeldUp) {
    const ServerManners manners{2, 50ms};
    ServerTurns turns;
    Queries queries;
    const auto begin = Clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&] { queries.Ask(turns, "whois busy.test", manners); });
    }
    threads.emplace_back([&] { queries.Ask(turns, "whois other.test", manners); });
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_LE(queries.most, 3) << "two of one server and one of the other at most";
    std::vector<Clock::time_point> busy = queries.starts["whois busy.test"];
    ASSERT_EQ(busy.size(), 6U);
    std::sort(busy.begin(), busy.end());
    for (std::size_t i = 1; i < busy.size(); ++i) {
        EXPECT_GE(busy[i] - busy[i - 1], 49ms) << i;
    }
    EXPECT_LT(queries.starts["whois other.test"].front() - begin, 40ms * HOSTLORE_TEST_TIME_SCALE);
}

TEST(ServerTurns, AtMostTheLimitAtOnceWithoutAGap) {
    ServerTurns turns;
    Queries queries;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] { queries.Ask(turns, "whois busy.test", {2, 0ms}); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(queries.most, 2);
}

TEST(ServerTurns, AStopEndsTheWait) {
    ServerTurns turns;
    const auto held = turns.Await("whois busy.test", {1, 0ms}, [] { return false; });
    ASSERT_TRUE(held);
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        stopped = true;
    });
    const auto begin = Clock::now();
    EXPECT_FALSE(turns.Await("whois busy.test", {1, 0ms}, [&] { return stopped.load(); }));
    EXPECT_LT(Clock::now() - begin, 500ms * HOSTLORE_TEST_TIME_SCALE);
    stopper.join();
}

}  // namespace
}  // namespace hostlore
