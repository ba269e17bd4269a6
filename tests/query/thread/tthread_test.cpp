#include "query/thread/tthread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/event_pump.h"
#include "support/gate.h"

namespace hostlore {
namespace {

// Runs the body it is given on its own thread.
class ScriptedWorker : public TThread {
  public:
    ScriptedWorker(std::shared_ptr<UiHandoff> handoff, std::function<void(ScriptedWorker&)> body)
        : TThread(std::move(handoff)), body_(std::move(body)) {}
    using TThread::Post;
    using TThread::Synchronize;

  protected:
    void Execute() override { body_(*this); }

  private:
    std::function<void(ScriptedWorker&)> body_;
};

class TThreadTest : public ::testing::Test {
  protected:
    std::shared_ptr<ScriptedWorker> Start(std::function<void(ScriptedWorker&)> body) {
        auto worker = std::make_shared<ScriptedWorker>(pump.Handoff(), std::move(body));
        worker->OnTerminate = [this](TThread&) {
            ended = true;
            endedOnUiThread = std::this_thread::get_id() == uiThread;
        };
        worker->Start();
        return worker;
    }

    UiHandoffPump pump;
    const std::thread::id uiThread = std::this_thread::get_id();
    bool ended = false;
    bool endedOnUiThread = false;
};

TEST_F(TThreadTest, HandOffsRunOnTheUiThreadInTheWorkersOrder) {
    std::vector<int> seen;  // touched on the user interface thread only
    bool allOnUiThread = true;
    Start([&](ScriptedWorker& self) {
        for (int i = 0; i < 200; ++i) {
            self.Synchronize([&, i] {
                seen.push_back(i);
                allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
            });
        }
    });
    ASSERT_TRUE(test::PumpUntil([&] { return ended; }));
    ASSERT_EQ(seen.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
    EXPECT_TRUE(allOnUiThread);
    EXPECT_TRUE(endedOnUiThread);
}

TEST_F(TThreadTest, AWorkerWaitsForItsHandOffAndReadsBackWhatItWrote) {
    std::vector<std::string> lines;  // stands for a memo on the window
    std::promise<std::string> readBack;
    Start([&](ScriptedWorker& self) {
        self.Synchronize([&] { lines.emplace_back("192.0.2.1"); });
        std::string last;
        self.Synchronize([&] { last = lines.back(); });
        readBack.set_value(last);
    });
    ASSERT_TRUE(test::PumpUntil([&] { return ended; }));
    EXPECT_EQ(readBack.get_future().get(), "192.0.2.1");
}

TEST_F(TThreadTest, SeveralWorkersKeepTheirOwnOrder) {
    std::vector<std::vector<int>> seen(4);
    int endedCount = 0;
    std::vector<std::shared_ptr<ScriptedWorker>> workers;
    for (std::size_t w = 0; w < seen.size(); ++w) {
        auto worker =
            std::make_shared<ScriptedWorker>(pump.Handoff(), [&, w](ScriptedWorker& self) {
                for (int i = 0; i < 50; ++i) {
                    self.Synchronize([&, w, i] { seen[w].push_back(i); });
                }
            });
        worker->OnTerminate = [&](TThread&) { ++endedCount; };
        worker->Start();
    }
    ASSERT_TRUE(test::PumpUntil([&] { return endedCount == 4; }));
    for (const auto& one : seen) {
        ASSERT_EQ(one.size(), 50u);
        EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
    }
}

TEST_F(TThreadTest, PostedPiecesKeepTheWorkersOrderWithoutItsWaiting) {
    std::vector<int> seen;
    std::promise<void> posted;
    Start([&](ScriptedWorker& self) {
        self.Post([&] { seen.push_back(1); });
        self.Post([&] { seen.push_back(2); });
        posted.set_value();
        self.Synchronize([&] { seen.push_back(3); });
        self.Post([&] { seen.push_back(4); });
    });
    // The event loop has not run yet: a worker that waited would still be waiting.
    ASSERT_EQ(posted.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    ASSERT_TRUE(test::PumpUntil([&] { return ended; }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(TThreadTest, APostedPieceThatFailsDropsTheRestAndFailsTheWorker) {
    struct Case {
        const char* name;
        bool handOffAfter;
        std::string caught;
        std::optional<std::string> failure;
    };
    const Case cases[] = {
        {"raised by the next hand-off", true, "widget gone", std::nullopt},
        {"the worker's failure when none follows", false, "", "widget gone"},
    };
    for (const Case& c : cases) {
        ended = false;
        bool ranAfter = false;
        std::string caught;
        auto worker = Start([&](ScriptedWorker& self) {
            self.Post([] { throw std::runtime_error("widget gone"); });
            self.Post([&] { ranAfter = true; });
            if (c.handOffAfter) {
                try {
                    self.Synchronize([&] { ranAfter = true; });
                } catch (const std::runtime_error& error) {
                    caught = error.what();
                }
            }
        });
        ASSERT_TRUE(test::PumpUntil([&] { return ended; })) << c.name;
        EXPECT_FALSE(ranAfter) << c.name;
        EXPECT_EQ(caught, c.caught) << c.name;
        EXPECT_EQ(worker->Failure().has_value(), c.failure.has_value()) << c.name;
        if (c.failure && worker->Failure()) {
            EXPECT_NE(worker->Failure()->find(*c.failure), std::string::npos) << c.name;
        }
    }
}

TEST_F(TThreadTest, TheEndOfRunHandlerRunsAfterAnException) {
    bool wroteBefore = false;
    Start([&](ScriptedWorker& self) {
        self.Synchronize([&] { wroteBefore = true; });
        throw std::runtime_error("resolver failed");
    });
    ASSERT_TRUE(test::PumpUntil([&] { return ended; }));
    EXPECT_TRUE(wroteBefore);
    EXPECT_TRUE(endedOnUiThread);
}

TEST_F(TThreadTest, ATerminatedWorkerChangesNothingAndSkipsItsEndOfRunHandler) {
    test::Gate gate;
    bool wroteAfterTerminate = false;
    bool cancelledInside = false;
    std::promise<void> finished;
    auto worker = Start([&](ScriptedWorker& self) {
        gate.Wait();
        try {
            self.Synchronize([&] { wroteAfterTerminate = true; });
        } catch (const ThreadCancelled&) {
            cancelledInside = true;
        }
        finished.set_value();
    });
    worker->Terminate();
    EXPECT_TRUE(worker->Terminated());
    gate.Open();
    auto done = finished.get_future();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    ASSERT_TRUE(test::ReleaseAndWaitForEnd(worker));
    EXPECT_FALSE(wroteAfterTerminate);
    EXPECT_TRUE(cancelledInside);
    EXPECT_FALSE(ended);
}

TEST_F(TThreadTest, WorkerObjectsAreReleasedWhenTheirThreadEnds) {
    test::Gate gate;
    std::weak_ptr<ScriptedWorker> watch = Start([&](ScriptedWorker&) { gate.Wait(); });
    EXPECT_FALSE(watch.expired()) << "the running thread keeps its worker";
    gate.Open();
    ASSERT_TRUE(test::PumpUntil([&] { return ended; }));
    EXPECT_TRUE(test::PumpUntil([&] { return watch.expired(); }));
}

TEST(UiHandoff, ClosingReleasesWaitingWorkersWithoutRunningTheirWork) {
    auto pump = std::make_unique<UiHandoffPump>();
    const auto handoff = pump->Handoff();
    std::promise<bool> accepted;
    bool ran = false;
    bool posted = false;
    std::thread worker([&] {
        posted = handoff->Post([&] { ran = true; });
        accepted.set_value(handoff->Run([&] { ran = true; }));
    });
    // The event loop never runs here, so the worker waits until the close.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pump.reset();
    EXPECT_FALSE(accepted.get_future().get());
    worker.join();
    EXPECT_TRUE(posted) << "queued, then dropped by the close";
    EXPECT_FALSE(ran);
    EXPECT_FALSE(handoff->Run([&] { ran = true; })) << "refused after the close";
    EXPECT_FALSE(handoff->Post([&] { ran = true; })) << "refused after the close";
    EXPECT_FALSE(ran);
}

TEST(UiHandoff, PassesAFailureOfTheWorkBackToTheWorker) {
    UiHandoffPump pump;
    std::promise<std::string> caught;
    std::thread worker([&] {
        try {
            pump.Handoff()->Run([] { throw std::runtime_error("widget gone"); });
            caught.set_value("nothing");
        } catch (const std::exception& error) {
            caught.set_value(error.what());
        }
    });
    auto result = caught.get_future();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    worker.join();
    EXPECT_EQ(result.get(), "widget gone");
}

}  // namespace
}  // namespace hostlore
