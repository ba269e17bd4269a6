#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/event_pump.h"

namespace hostlore::test {

// The threads of this process.
inline int ThreadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

// The open file descriptors of this process, not counting the listing's own.
inline int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count - 1;
}

// The threads and descriptors at one moment.
struct ProcessCounts {
    int threads = ThreadCount();
    int descriptors = OpenDescriptorCount();
};

// Whether, within `milliseconds` of running the event loop, the process has
// no more threads and descriptors than it had `before`.
inline ::testing::AssertionResult BackWithin(const ProcessCounts& before, int milliseconds) {
    if (PumpUntil(
            [&] {
                return ThreadCount() <= before.threads &&
                       OpenDescriptorCount() <= before.descriptors;
            },
            milliseconds)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "threads " << before.threads << " -> " << ThreadCount() << ", descriptors "
           << before.descriptors << " -> " << OpenDescriptorCount();
}

}  // namespace hostlore::test
