#pragma once

// What the start-up probes print: the milliseconds from the launch time the
// caller gives in HOSTLORE_LAUNCH_NS (CLOCK_REALTIME nanoseconds; now when
// absent), and the processor time used so far.

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace hostlore::bench {

inline long long NowNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

inline void PrintSinceLaunch(const char* what) {
    const char* launch = std::getenv("HOSTLORE_LAUNCH_NS");
    const long long start = launch != nullptr ? std::atoll(launch) : NowNs(CLOCK_REALTIME);
    std::printf("%s %.1f\n", what, static_cast<double>(NowNs(CLOCK_REALTIME) - start) / 1e6);
    std::fflush(stdout);
}

inline void PrintProcessorTime(const char* what) {
    std::printf("%s %.1f\n", what, static_cast<double>(NowNs(CLOCK_PROCESS_CPUTIME_ID)) / 1e6);
    std::fflush(stdout);
}

}  // namespace hostlore::bench
