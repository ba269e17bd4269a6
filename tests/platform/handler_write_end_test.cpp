#include "platform/handler_write_end.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <future>
#include <optional>

namespace hostlore {
namespace {

using std::chrono_literals::operator""ms;

// A signal handler on another thread may hold the end while its owner closes
// it: the descriptor must stay open, and not be handed out again, until the
// handler has written.
TEST(HandlerWriteEnd, ClosesOnlyOnceNoHandlerHoldsItAndThenGivesNoDescriptor) {
    std::array<int, 2> pipe{};
    ASSERT_EQ(::pipe2(pipe.data(), O_CLOEXEC | O_NONBLOCK), 0);
    HandlerWriteEnd end;
    end.Open(pipe[1]);
    std::optional<HandlerWriteEnd::Use> handler(std::in_place, end);
    auto closing = std::async(std::launch::async, [&] { end.Close(); });
    EXPECT_EQ(closing.wait_for(100ms), std::future_status::timeout) << "closed under the handler";
    EXPECT_EQ(::write(handler->Descriptor(), "x", 1), 1);
    handler.reset();
    ASSERT_EQ(closing.wait_for(5000ms), std::future_status::ready);
    EXPECT_EQ(HandlerWriteEnd::Use(end).Descriptor(), -1);
    char byte = 0;
    EXPECT_EQ(::read(pipe[0], &byte, 1), 1);
    EXPECT_EQ(::read(pipe[0], &byte, 1), 0) << "the write end is closed";
    ::close(pipe[0]);
}

}  // namespace
}  // namespace hostlore
