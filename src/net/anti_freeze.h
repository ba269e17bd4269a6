#pragma once

#include <atomic>
#include <memory>
#include <thread>

namespace hostlore {

// Lets blocking network calls made on the user interface thread (the thread
// that made the anti-freeze) keep the window alive, and cuts every read wait
// into slices of IdleTimeOut. The one installed last is in effect; it is read
// from every thread.
class TNetAntiFreeze {
  public:
    std::atomic<bool> Active{true};
    std::atomic<bool> ApplicationHasPriority{true};
    std::atomic<int> IdleTimeOut{250};  // milliseconds
    std::atomic<bool> OnlyWhenIdle{true};

    static void Install(std::shared_ptr<TNetAntiFreeze> antiFreeze);
    // Leaves none in effect, if `antiFreeze` is the one in effect.
    static void Uninstall(const TNetAntiFreeze* antiFreeze);
    // The anti-freeze in effect, or null; callers keep it alive while they use it.
    static std::shared_ptr<TNetAntiFreeze> Current();

    // Handles pending window messages, when called on the user interface
    // thread and the settings allow it, and no HoldWindowEvents holds them.
    static void YieldToUi(bool idle, bool override);

    // While one exists on a thread, the network waits of that thread handle no
    // window events: for work during which the window must not respond, so
    // that no timer or second click runs inside it.
    class HoldWindowEvents {
      public:
        HoldWindowEvents();
        ~HoldWindowEvents();
        HoldWindowEvents(const HoldWindowEvents&) = delete;
        HoldWindowEvents& operator=(const HoldWindowEvents&) = delete;
    };

  private:
    // Workers must not ask the application which thread is its own: it may
    // be going away at that moment.
    const std::thread::id uiThread_ = std::this_thread::get_id();
};

}  // namespace hostlore
