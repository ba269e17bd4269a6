#include "net/anti_freeze.h"

#include <QCoreApplication>
#include <mutex>

namespace hostlore {

namespace {

std::mutex& CurrentMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<TNetAntiFreeze>& CurrentAntiFreeze() {
    static std::shared_ptr<TNetAntiFreeze> current;
    return current;
}

thread_local int windowEventHolds = 0;

}  // namespace

void TNetAntiFreeze::Install(std::shared_ptr<TNetAntiFreeze> antiFreeze) {
    std::lock_guard lock(CurrentMutex());
    CurrentAntiFreeze() = std::move(antiFreeze);
}

void TNetAntiFreeze::Uninstall(const TNetAntiFreeze* antiFreeze) {
    std::lock_guard lock(CurrentMutex());
    if (CurrentAntiFreeze().get() == antiFreeze) {
        CurrentAntiFreeze().reset();
    }
}

std::shared_ptr<TNetAntiFreeze> TNetAntiFreeze::Current() {
    std::lock_guard lock(CurrentMutex());
    return CurrentAntiFreeze();
}

void TNetAntiFreeze::YieldToUi(bool idle, bool override) {
    if (windowEventHolds > 0) {
        return;
    }
    const auto antiFreeze = Current();
    if (!antiFreeze || std::this_thread::get_id() != antiFreeze->uiThread_) {
        return;
    }
    if ((!antiFreeze->OnlyWhenIdle || idle || override) && antiFreeze->Active) {
        if (antiFreeze->ApplicationHasPriority) {
            QCoreApplication::processEvents();
        } else {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 0);
        }
    }
}

TNetAntiFreeze::HoldWindowEvents::HoldWindowEvents() {
    ++windowEventHolds;
}

TNetAntiFreeze::HoldWindowEvents::~HoldWindowEvents() {
    --windowEventHolds;
}

}  // namespace hostlore
