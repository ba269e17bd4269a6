#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include "app/main_window.h"

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

// A worker of the window that runs the body it is given: stands in for a
// page's worker that blocks in a resolver or a network read.
class WindowWorker : public TThread {
  public:
    WindowWorker(Tmain& window, std::function<void(WindowWorker&, Tmain&)> body)
        : TThread(window.Handoff()), window_(window), body_(std::move(body)) {}
    using TThread::Synchronize;

  protected:
    void Execute() override { body_(*this, window_); }

  private:
    Tmain& window_;
    std::function<void(WindowWorker&, Tmain&)> body_;
};

}  // namespace hostlore::test
