#include "net/anti_freeze.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <functional>

namespace hostlore {
namespace {

// Runs `work` on `thread`, which has an event loop of its own, and waits.
void RunOn(QThread& thread, const std::function<void()>& work) {
    QObject context;
    context.moveToThread(&thread);
    QMetaObject::invokeMethod(&context, work, Qt::BlockingQueuedConnection);
    context.moveToThread(QThread::currentThread());
}

// Whether a yield on the thread it runs on handled an event that was waiting.
bool YieldHandledAWaitingEvent() {
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
    QThread other;
    other.start();
    const struct {
        const char* name;
        bool madeOnOther;
        bool yieldOnOther;
        bool handled;
    } cases[] = {
        {"made and yielding here", false, false, true},
        {"made here, yielding on another thread", false, true, false},
        {"made and yielding on another thread", true, true, true},
        {"made on another thread, yielding here", true, false, false},
    };
    for (const auto& c : cases) {
        std::shared_ptr<TNetAntiFreeze> antiFreeze;
        const auto make = [&] { antiFreeze = std::make_shared<TNetAntiFreeze>(); };
        c.madeOnOther ? RunOn(other, make) : make();
        TNetAntiFreeze::Install(antiFreeze);
        bool handled = false;
        const auto yield = [&] { handled = YieldHandledAWaitingEvent(); };
        c.yieldOnOther ? RunOn(other, yield) : yield();
        TNetAntiFreeze::Uninstall(antiFreeze.get());
        EXPECT_EQ(handled, c.handled) << c.name;
        QCoreApplication::processEvents();
    }
    other.quit();
    other.wait();
}

}  // namespace
}  // namespace hostlore
