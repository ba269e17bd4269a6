#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

using Mode = CommandLine::Mode;
using Urls = std::vector<std::string>;

CommandLine Parsed(const std::vector<std::string>& arguments) {
    std::vector<std::string> line = {"hostlore"};
    line.insert(line.end(), arguments.begin(), arguments.end());
    return ParseCommandLine(line);
}

std::string NameOf(const std::vector<std::string>& arguments) {
    return arguments.front() + " (" + std::to_string(arguments.size()) + ")";
}

TEST(ParseCommandLine, ReportsOnManySites) {
    const struct {
        std::vector<std::string> arguments;
        Urls urls;
        std::optional<std::string> input;
        int jobs;
        std::optional<std::string> neighbours;
    } cases[] = {
        {{"--report", "a.test"}, {"a.test"}, {}, 8, {}},
        {{"--report=a.test", "b.test"}, {"a.test", "b.test"}, {}, 8, "0"},
        {{"--report", "a.test", "b.test", "--neighbours", "5"}, {"a.test", "b.test"}, {}, 8, "5"},
        {{"--report", "--input", "-", "--jobs=32"}, {}, "-", 32, "0"},
        {{"--report", "a.test", "--input", "list"}, {"a.test"}, "list", 8, "0"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Parsed(c.arguments);
        const std::string name = NameOf(c.arguments);
        EXPECT_EQ(line.mode, Mode::Report) << name;
        EXPECT_EQ(line.error, "") << name;
        EXPECT_EQ(line.urls, c.urls) << name;
        EXPECT_EQ(line.input, c.input) << name;
        EXPECT_EQ(line.jobs, c.jobs) << name;
        EXPECT_EQ(line.neighbours, c.neighbours) << name;
    }
}

TEST(ParseCommandLine, NamesWhatIsWrongWithAReportsArguments) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--report"}, "--report needs an address"},
        {{"--report", "a.test", "--jobs", "257"}, "--jobs needs a whole number from 1 to 256"},
        {{"--report", "a.test", "--jobs", "0"}, "--jobs needs a whole number from 1 to 256"},
        {{"--report", "--input"}, "--input needs a file name, or - for standard input"},
        {{"--json"},
         "--json, --neighbours, --no-whois, --whois-server, --timeout, --input and --jobs go "
         "with --report"},
        {{"--jobs", "4", "a.test"},
         "--json, --neighbours, --no-whois, --whois-server, --timeout, --input and --jobs go "
         "with --report"},
        {{"a.test", "b.test"}, "more than one address: b.test"},
    };
    for (const auto& [arguments, error] : cases) {
        const CommandLine line = Parsed(arguments);
        EXPECT_EQ(line.mode, Mode::UsageError) << NameOf(arguments);
        EXPECT_EQ(line.error, error) << NameOf(arguments);
    }
}

}  // namespace
}  // namespace hostlore
