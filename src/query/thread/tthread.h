#pragma once

// query/thread/: the worker base and the hand-off to the window's thread; includes nothing of src/
// but query/failure_reason.h.

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "query/thread/handoff.h"

namespace hostlore {

// Raised inside a worker whose hand-off was refused: the worker has been
// terminated, or the window has gone. It ends the worker's Execute.
class ThreadCancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "Worker cancelled"; }
};

// Base of every worker. Execute runs on a thread of its own; every access to
// the window goes through Synchronize. After Execute ends, by return or by an
// exception, OnTerminate runs on the user interface thread while the worker
// waits. A worker object lives until its thread has ended and nobody else
// holds it.
class TThread : public std::enable_shared_from_this<TThread> {
  public:
    explicit TThread(std::shared_ptr<UiHandoff> handoff);
    virtual ~TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts Execute. Attach OnTerminate before.
    void Start();

    // Cuts the worker off the window: none of its later hand-offs runs, and
    // its end-of-run handler does not run. Called on the user interface thread.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Why Execute failed, in words for the user; nothing when it returned or
    // was cancelled. Read it in the end-of-run handler.
    const std::optional<std::string>& Failure() const { return failure_; }

    std::function<void(TThread& sender)> OnTerminate;

  protected:
    virtual void Execute() = 0;

    // Runs `work` on the user interface thread, in this worker's order, and
    // waits for it. Raises ThreadCancelled when the work may not run.
    void Synchronize(const std::function<void()>& work);
    // Runs `work` on the user interface thread in this worker's order without
    // waiting for it: for what the window shows while the worker goes on.
    // What it throws is raised by the worker's next Synchronize, and the
    // pieces posted after it are dropped. Raises ThreadCancelled when the
    // work may not run.
    void Post(std::function<void()> work);

  private:
    void RunOnOwnThread();

    std::shared_ptr<UiHandoff> handoff_;
    std::atomic<bool> terminated_{false};
    std::optional<std::string> failure_;
    // What a posted piece threw; on the user interface thread only.
    std::exception_ptr postedFailure_;
};

}  // namespace hostlore
