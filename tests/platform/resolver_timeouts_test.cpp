#include "platform/resolver_timeouts.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(ResolverTimeouts, ReadsTheOptionsAsTheCLibraryDoes) {
    struct Case {
        const char* resolvConf;
        const char* resOptions;
        int seconds;
        int attempts;
    };
    const Case cases[] = {
        {"nameserver 127.0.0.1\n", "", 5, 2},
        {"options timeout:1 attempts:3\n", "", 1, 3},
        {"options\tndots:2 timeout:7\noptions attempts:4\n", "", 7, 4},
        {"options timeout:2\n", "timeout:9 attempts:1", 9, 1},
        {"options timeout:90 attempts:9\n", "", 30, 5},
        {"options timeout:0 attempts:x\n", "", 1, 1},
        {"# options timeout:1\n optionstimeout:1\noptions-x timeout:1\n", "", 5, 2},
    };
    for (const auto& [resolvConf, resOptions, seconds, attempts] : cases) {
        const ResolverTimeouts timeouts = ReadResolverTimeouts(resolvConf, resOptions);
        EXPECT_EQ(timeouts.timeoutSeconds, seconds) << resolvConf << '|' << resOptions;
        EXPECT_EQ(timeouts.attempts, attempts) << resolvConf << '|' << resOptions;
    }
}

}  // namespace
}  // namespace hostlore
