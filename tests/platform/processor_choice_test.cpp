#include "platform/processor_choice.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <thread>
#include <vector>

namespace hostlore {
namespace {

std::vector<int> Allowed() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> processors;
    if (::sched_getaffinity(0, sizeof(set), &set) == 0) {
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &set)) {
                processors.push_back(cpu);
            }
        }
    }
    return processors;
}

void AllowOnly(const std::vector<int>& processors) {
    cpu_set_t set;
    CPU_ZERO(&set);
    for (const int cpu : processors) {
        CPU_SET(cpu, &set);
    }
    ASSERT_EQ(::sched_setaffinity(0, sizeof(set), &set), 0);
}

TEST(ProcessorChoice, KeepsAThreadOffAProcessorOnlyWhenAnotherIsLeft) {
    const std::vector<int> all = Allowed();
    ASSERT_FALSE(all.empty());
    std::vector<int> others(all.begin() + 1, all.end());
    struct Case {
        std::vector<int> allowed;
        int keptOff;
        std::vector<int> after;
    };
    const Case cases[] = {
        {all, all.front(), all.size() > 1 ? others : all},
        {{all.front()}, all.front(), {all.front()}},
        {all, -1, all},
        {all, CPU_SETSIZE, all},
    };
    for (const Case& c : cases) {
        // A thread of its own: the choice lasts for the thread's life.
        std::thread([&] {
            AllowOnly(c.allowed);
            KeepOffProcessor(c.keptOff);
            EXPECT_EQ(Allowed(), c.after) << "kept off " << c.keptOff;
        }).join();
    }
    EXPECT_EQ(Allowed(), all);
    EXPECT_GE(CurrentProcessor(), 0);
}

}  // namespace
}  // namespace hostlore
