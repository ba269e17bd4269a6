#pragma once

#include <functional>

#include "app/main_window.h"
#include "support/gate.h"

namespace hostlore::test {

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
