#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

using Mode = CommandLine::Mode;
using Urls = std::vector<std::string>;

TEST(ParseCommandLine, ReportsOnManySites) {
    const struct {
        std::vector<std::string> arguments;
        Mode mode;
        Urls urls;
        std::optional<std::string> input;
        int jobs;
        std::optional<std::string> neighbours;
        const char* error;
    } cases[] = {
        {{"--report", "a.test"}, Mode::Report, {"a.test"}, {}, 8, {}, ""},
        {{"--report=a.test", "b.test"}, Mode::Report, {"a.test", "b.test"}, {}, 8, "0", ""},
        {{"--report", "a.test", "b.test", "--neighbours", "5"},
         Mode::Report,
         {"a.test", "b.test"},
         {},
         8,
         "5",
         ""},
        {{"--report", "--input", "-", "--jobs=32"}, Mode::Report, {}, "-", 32, "0", ""},
        {{"--report", "a.test", "--input", "list"}, Mode::Report, {"a.test"}, "list", 8, "0", ""},
        {{"--report"}, Mode::UsageError, {}, {}, 8, {}, "--report needs an address"},
        {{"--report", "a.test", "--jobs", "257"},
         Mode::UsageError,
         {},
         {},
         8,
         {},
         "--jobs needs a whole number from 1 to 256"},
        {{"--report", "a.test", "--jobs", "0"},
         Mode::UsageError,
         {},
         {},
         8,
         {},
         "--jobs needs a whole number from 1 to 256"},
        {{"--report", "--input"},
         Mode::UsageError,
         {},
         {},
         8,
         {},
         "--input needs a file name, or - for standard input"},
        {{"--jobs", "4", "a.test"},
         Mode::UsageError,
         {},
         {},
         8,
         {},
         "--json, --neighbours, --no-whois, --whois-server, --timeout, --input and --jobs go "
         "with --report"},
        {{"a.test", "b.test"}, Mode::UsageError, {}, {}, 8, {}, "more than one address: b.test"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"hostlore"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = ParseCommandLine(arguments);
        const std::string name =
            c.arguments.front() + " (" + std::to_string(c.arguments.size()) + ")";
        EXPECT_EQ(line.mode, c.mode) << name;
        EXPECT_EQ(line.error, c.error) << name;
        if (c.mode == Mode::Report) {
            EXPECT_EQ(line.urls, c.urls) << name;
            EXPECT_EQ(line.input, c.input) << name;
            EXPECT_EQ(line.jobs, c.jobs) << name;
            EXPECT_EQ(line.neighbours, c.neighbours) << name;
        }
    }
}

}  // namespace
}  // namespace hostlore
