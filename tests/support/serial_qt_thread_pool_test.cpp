#include <gtest/gtest.h>

#include <QThreadPool>
#include <thread>

namespace {

// The widget tests take over Qt's thread pool by defining one of its
// functions themselves; should a Qt upgrade stop that from applying, the
// thread checker would watch Qt's own threads again. This notices it.
TEST(SerialQtThreadPool, RunsWorkOnTheCallingThreadBeforeStartReturns) {
    const auto caller = std::this_thread::get_id();
    std::thread::id ranOn;
    QThreadPool::globalInstance()->start([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, caller);
}

}  // namespace
