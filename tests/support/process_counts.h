#pragma once

#include <filesystem>

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

}  // namespace hostlore::test
