#include "platform/processor_choice.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <thread>
#include <vector>

namespace hostlore {
namespace {

std::vector<int> Allowed() {
    cpu_set_t set;
    ::sched_getaffinity(0, sizeof(set), &set);
    std::vector<int> processors;
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
    const std::vector<int> others(all.begin() + (all.size() > 1 ? 1 : 0), all.end());
    struct Case {
        std::vector<int> before;
        int keptOff;
        std::vector<int> after;
    };
    const Case cases[] = {
        {all, first, others},
        {{first}, first, {first}},
        {all, -1, all},
        {all, CPU_SETSIZE, all},
    };
    for (const Case& c : cases) {
        // A thread of its own: the choice lasts for the thread's life.
        std::thread([&] {
            cpu_set_t before;
            CPU_ZERO(&before);
            for (const int cpu : c.before) {
                CPU_SET(cpu, &before);
            }
            ASSERT_EQ(::sched_setaffinity(0, sizeof(before), &before), 0);
            KeepOffProcessor(c.keptOff);
            EXPECT_EQ(Allowed(), c.after) << "kept off " << c.keptOff;
        }).join();
    }
    EXPECT_EQ(Allowed(), all);
    EXPECT_GE(CurrentProcessor(), 0);
}

}  // namespace
}  // namespace hostlore
