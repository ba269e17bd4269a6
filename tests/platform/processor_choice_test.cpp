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
    ::sched_getaffinity(0, sizeof(set), &set);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set)) {
            processors.push_back(cpu);
        }
    }
    return processors;
}

TEST(ProcessorChoice, KeepsAThreadOffAProcessorOnlyWhenAnotherIsLeft) {
    const std::vector<int> all = Allowed();
    const int first = all.front();
    const std::vector<int> others(all.begin() + 1, all.end());
    struct Case {
        bool firstAlone;
        int keptOff;
        std::vector<int> after;
    };
    const Case cases[] = {
        {false, first, others.empty() ? all : others},
        {true, first, {first}},
        {false, -1, all},
        {false, CPU_SETSIZE, all},
    };
    for (const Case& c : cases) {
        // A thread of its own: the choice lasts for the thread's life.
        std::thread([&] {
            cpu_set_t alone;
            CPU_ZERO(&alone);
            CPU_SET(first, &alone);
            ASSERT_TRUE(!c.firstAlone || ::sched_setaffinity(0, sizeof(alone), &alone) == 0);
            KeepOffProcessor(c.keptOff);
            EXPECT_EQ(Allowed(), c.after) << "kept off " << c.keptOff;
        }).join();
    }
    EXPECT_EQ(Allowed(), all);
    EXPECT_GE(CurrentProcessor(), 0);
}

}  // namespace
}  // namespace hostlore
