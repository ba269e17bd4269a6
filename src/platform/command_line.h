#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hostlore {

// What the command line asks of the program. It is read before any window or
// display connection exists, so that every answer here works without one.
struct CommandLine {
    enum class Mode { Window, Report, Help, Version, UsageError };
    Mode mode = Mode::Window;
    std::string error;  // for a usage error

    // Window: the address to put into the URL box and query at once, if any.
    std::string url;
    bool verbose = false;

    // Report: the addresses to report on, in order, then those of the input
    // file ("-" for standard input), one a line.
    std::vector<std::string> urls;
    std::optional<std::string> input;
    int jobs = 8;  // sites at once
    bool json = false;
    // The scan's count; 0 when unset and more than one site may come.
    std::optional<std::string> neighbours;
    bool noWhois = false;
    std::optional<std::string> whoisServer;
    int timeoutMs = 30'000;

    // The program name and the toolkit's own options, for the application object.
    std::vector<std::string> toolkitArguments;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string UsageText();
std::string VersionText();

}  // namespace hostlore
