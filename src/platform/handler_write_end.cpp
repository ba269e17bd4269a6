#include "platform/handler_write_end.h"

#include <unistd.h>

#include <thread>

namespace hostlore {

HandlerWriteEnd::Use::Use(HandlerWriteEnd& end) noexcept : end_(end) {
    // Counted in before the descriptor is read: Close either sees the count
    // or has already taken the descriptor away.
    ++end_.users_;
    descriptor_ = end_.descriptor_.load();
}

HandlerWriteEnd::Use::~Use() {
    --end_.users_;
}

void HandlerWriteEnd::Close() noexcept {
    const int descriptor = descriptor_.exchange(-1);
    while (users_ != 0) {
        std::this_thread::yield();
    }
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

}  // namespace hostlore
