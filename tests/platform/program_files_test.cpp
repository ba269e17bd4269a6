#include "platform/program_files.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(ApplicationTitle, CutsAtTheFirstDotAndLowersAllButTheFirstLetter) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/hostlore", "hostlore"},
        {"/opt/HOSTLORE.EXE", "Hostlore"},
        {"/x/HostLore.v2.bin", "Hostlore"},
        {"/x/.hidden", ""},
        {"/x/", ""},
    };
    for (const auto& [path, title] : cases) {
        EXPECT_EQ(ApplicationTitle(path), title) << path;
    }
}

TEST(ExecutablePath, IsTheRunningExecutable) {
    const auto executable = ExecutablePath();
    ASSERT_TRUE(std::filesystem::exists(executable));
    EXPECT_EQ(executable.filename(), "core_tests");
}

}  // namespace
}  // namespace hostlore
