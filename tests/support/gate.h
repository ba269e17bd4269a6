#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "support/event_pump.h"

namespace hostlore::test {

// A gate a test opens to let a blocked worker go on.
class Gate {
  public:
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// Drops the test's hold on a worker and runs the event loop until its thread
// has ended and released it, so nothing of the test is in use any more.
template <class Worker>
bool ReleaseAndWaitForEnd(std::shared_ptr<Worker>& worker, int milliseconds = 5000) {
    const std::weak_ptr<Worker> watch = worker;
    worker.reset();
    return PumpUntil([&] { return watch.expired(); }, milliseconds);
}

}  // namespace hostlore::test
