#pragma once

#include <atomic>

namespace hostlore {

// The write end of a pipe that a signal handler writes to, on whatever thread
// the signal arrives, while its owner may be closing it: Close waits until no
// handler holds the end, and a handler that comes after finds it closed.
class HandlerWriteEnd {
  public:
    // A handler's hold on the end; async-signal-safe.
    class Use {
      public:
        explicit Use(HandlerWriteEnd& end) noexcept;
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        // The descriptor to write to, or -1 when the end is closed.
        int Descriptor() const noexcept { return descriptor_; }

      private:
        HandlerWriteEnd& end_;
        int descriptor_ = -1;
    };

    void Open(int descriptor) noexcept { descriptor_ = descriptor; }
    // Takes the end away from later handlers, waits for those holding it,
    // then closes it.
    void Close() noexcept;

  private:
    static_assert(std::atomic<int>::is_always_lock_free, "used in signal handlers");
    std::atomic<int> descriptor_{-1};
    std::atomic<int> users_{0};
};

}  // namespace hostlore
