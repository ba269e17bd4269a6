#include "net/anti_freeze.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace hostlore {
namespace {

// Whether a yield on the calling thread handled an event that was waiting.
bool YieldHandledAWaitingEvent() {
    const QEventLoop loop;  // gives a thread of its own an event dispatcher
    QObject context;
    bool handled = false;
    QTimer::singleShot(0, &context, [&] { handled = true; });
    TNetAntiFreeze::YieldToUi(true, false);
    return handled;
}

// The window's messages are handled on the thread that made the anti-freeze,
// never on a worker's: workers do not even ask the application, which may be
// going away on its own thread.
TEST(AntiFreeze, YieldsOnlyOnTheThreadThatMadeIt) {
    const struct {
        const char* name;
        bool madeOnWorker;
        bool yieldOnWorker;
        bool handled;
    } cases[] = {
        {"made and yielding here", false, false, true},
        {"made here, yielding on a worker", false, true, false},
        {"made and yielding on a worker", true, true, true},
        {"made on a worker, yielding here", true, false, false},
    };
    for (const auto& c : cases) {
        std::shared_ptr<TNetAntiFreeze> antiFreeze;
        bool handled = false;
        const auto make = [&] {
            antiFreeze = std::make_shared<TNetAntiFreeze>();
            TNetAntiFreeze::Install(antiFreeze);
        };
        const auto yield = [&] { handled = YieldHandledAWaitingEvent(); };
        if (!c.madeOnWorker) {
            make();
        }
        std::thread([&] {
            if (c.madeOnWorker) {
                make();
            }
            if (c.yieldOnWorker) {
                yield();
            }
        }).join();
        if (!c.yieldOnWorker) {
            yield();
        }
        TNetAntiFreeze::Uninstall(antiFreeze.get());
        EXPECT_EQ(handled, c.handled) << c.name;
    }
}

}  // namespace
}  // namespace hostlore
