#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QSocketNotifier;

namespace hostlore {

// Carries pieces of work from worker threads to the user interface thread and
// lets each worker wait for its own piece. Workers and the pump share it; all
// ordering goes through a standard mutex, so it is visible to race checkers.
class UiHandoff {
  public:
    // Must be created on the user interface thread.
    UiHandoff();
    ~UiHandoff();
    UiHandoff(const UiHandoff&) = delete;
    UiHandoff& operator=(const UiHandoff&) = delete;

    // Runs `work` on the user interface thread after the caller's earlier
    // pieces and waits for it. An exception of `work` is raised here. Returns
    // false, without running it, once the hand-off has been closed.
    bool Run(const std::function<void()>& work);
    // Queues `work` for the user interface thread after the caller's earlier
    // pieces and returns at once; `work` must not throw. Returns false,
    // dropping it, once the hand-off has been closed.
    bool Post(std::function<void()> work);

    // User interface thread: runs the pieces queued so far.
    void RunQueued();
    // User interface thread: refuses every later piece and releases the
    // workers still waiting, so the window can go away without them.
    void Close();

    int WakeDescriptor() const { return wakeFd_; }
    bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

  private:
    struct Request {
        const std::function<void()>* work;
        enum class State { Queued, Running, Done, Cancelled } state = State::Queued;
        std::exception_ptr error;
        // Its own, so that a piece done wakes only the worker waiting for it.
        std::condition_variable finished;
    };
    // A piece waited for has its request; a posted one carries its own work.
    struct Piece {
        Request* waited = nullptr;
        std::function<void()> posted;
    };

    // Under `lock`: whether `work` goes to the queue. It does not once the
    // hand-off is closed (`accepted` false), nor on the user interface
    // thread, which runs it at once.
    bool MustQueue(std::unique_lock<std::mutex>& lock, const std::function<void()>& work,
                   bool& accepted);

    const std::thread::id uiThread_;
    const int wakeFd_;
    std::mutex mutex_;
    std::deque<Piece> queue_;
    bool closed_ = false;
};

// The user interface end of a hand-off: runs queued work from the event loop
// and closes the hand-off when it goes away.
class UiHandoffPump {
  public:
    UiHandoffPump();
    ~UiHandoffPump();
    UiHandoffPump(const UiHandoffPump&) = delete;
    UiHandoffPump& operator=(const UiHandoffPump&) = delete;

    const std::shared_ptr<UiHandoff>& Handoff() const { return handoff_; }

  private:
    std::shared_ptr<UiHandoff> handoff_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace hostlore
