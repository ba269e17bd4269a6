#include "platform/command_line.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/integer_text.h"

namespace hostlore {

namespace {

// The toolkit's own options a desktop session may pass, and whether each takes a value.
struct ToolkitOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<ToolkitOption, 12> kToolkitOptions = {{
    {"-platform", true},
    {"-platformtheme", true},
    {"-plugin", true},
    {"-display", true},
    {"-geometry", true},
    {"-qwindowgeometry", true},
    {"-qwindowtitle", true},
    {"-qwindowicon", true},
    {"-style", true},
    {"-stylesheet", true},
    {"-session", true},
    {"-reverse", false},
}};

const ToolkitOption* ToolkitOptionNamed(std::string_view argument) {
    const auto found = std::find_if(
        kToolkitOptions.begin(), kToolkitOptions.end(), [&](const ToolkitOption& option) {
            return argument == option.name ||
                   (argument.starts_with('-') && argument.substr(1) == option.name);
        });
    return found == kToolkitOptions.end() ? nullptr : &*found;
}

CommandLine UsageError(std::string error) {
    CommandLine line;
    line.mode = CommandLine::Mode::UsageError;
    line.error = std::move(error);
    return line;
}

std::optional<int> TimeoutMs(const std::string& text) {
    std::size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != text.size() || !std::isfinite(seconds) || seconds <= 0 || seconds > 86'400) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(seconds * 1000));
}

constexpr int kMostJobs = 256;

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (!arguments.empty()) {
        line.toolkitArguments.push_back(arguments.front());
    }
    bool report = false;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> attached;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            attached = argument.substr(equals + 1);
            argument.resize(equals);
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (attached) {
                return attached;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            return std::nullopt;
        };
        const auto needsValue = [&](std::optional<std::string>& into) {
            into = value();
            return into.has_value();
        };
        std::optional<std::string> given;
        if (argument == "-h" || argument == "--help") {
            line.mode = CommandLine::Mode::Help;
            return line;
        }
        if (argument == "-v" || argument == "--version") {
            line.mode = CommandLine::Mode::Version;
            return line;
        }
        if (argument == "--report") {
            report = true;
            if (attached) {
                positional.push_back(*attached);
            }
        } else if (argument == "--verbose" && !attached) {
            line.verbose = true;
        } else if (argument == "--json" && !attached) {
            line.json = true;
        } else if (argument == "--no-whois" && !attached) {
            line.noWhois = true;
        } else if (argument == "--neighbours") {
            if (!needsValue(given) || !ParseInteger(*given)) {
                return UsageError("--neighbours needs a whole number");
            }
            line.neighbours = given;
        } else if (argument == "--input") {
            if (!needsValue(given) || given->empty()) {
                return UsageError("--input needs a file name, or - for standard input");
            }
            line.input = given;
        } else if (argument == "--jobs") {
            const auto jobs = needsValue(given) ? ParseDecimalInteger(*given) : std::nullopt;
            if (!jobs || *jobs < 1 || *jobs > kMostJobs) {
                return UsageError("--jobs needs a whole number from 1 to 256");
            }
            line.jobs = *jobs;
        } else if (argument == "--whois-server") {
            if (!needsValue(given) || given->empty()) {
                return UsageError("--whois-server needs a host name");
            }
            line.whoisServer = given;
        } else if (argument == "--timeout") {
            const auto timeout = needsValue(given) ? TimeoutMs(*given) : std::nullopt;
            if (!timeout) {
                return UsageError("--timeout needs a number of seconds above 0");
            }
            line.timeoutMs = *timeout;
        } else if (const ToolkitOption* toolkit = ToolkitOptionNamed(argument)) {
            line.toolkitArguments.push_back(argument);
            if (toolkit->takesValue) {
                if (i + 1 >= arguments.size()) {
                    return UsageError(argument + " needs a value");
                }
                line.toolkitArguments.push_back(arguments[++i]);
            }
        } else if (argument.starts_with('-') && argument.size() > 1) {
            return UsageError("unknown option " + arguments[i]);
        } else {
            positional.push_back(argument);
        }
    }
    const bool reportOnly = line.json || line.noWhois || line.neighbours || line.whoisServer ||
                            line.input || line.timeoutMs != CommandLine{}.timeoutMs ||
                            line.jobs != CommandLine{}.jobs;
    if (report) {
        if (std::any_of(positional.begin(), positional.end(),
                        [](const std::string& url) { return url.empty(); }) ||
            (positional.empty() && !line.input)) {
            return UsageError("--report needs an address");
        }
        // The scan is for one site at a time.
        if (!line.neighbours && (positional.size() > 1 || line.input)) {
            line.neighbours = "0";
        }
        line.mode = CommandLine::Mode::Report;
        line.urls = std::move(positional);
        return line;
    }
    if (reportOnly) {
        return UsageError(
            "--json, --neighbours, --no-whois, --whois-server, --timeout, --input and --jobs go "
            "with --report");
    }
    if (positional.size() > 1) {
        return UsageError("more than one address: " + positional[1]);
    }
    if (!positional.empty()) {
        line.url = positional.front();
    }
    return line;
}

std::string UsageText() {
    return "Usage: hostlore [--verbose] [URL]\n"
           "       hostlore --report [URL...] [--input FILE] [--jobs N] [--json]\n"
           "                [--neighbours N] [--no-whois] [--whois-server HOST] [--timeout S]\n"
           "\n"
           "Gathers what can be learnt about the web site behind an address: its host\n"
           "addresses, server, whois record, neighbouring hosts, and the local network.\n"
           "The manual opens from Help, Help Topic (F1).\n"
           "\n"
           "With a URL, the window opens with it in the URL box and queries it at once.\n"
           "\n"
           "Options:\n"
           "  --report URL...      Query each URL without a window and print its report\n"
           "                       on standard output, one after another, each after a\n"
           "                       separator line. The status is 0 when every host\n"
           "                       resolved, 1 when any does not exist, 2 for a usage\n"
           "                       error, 3 when the report could not be written, 130\n"
           "                       when interrupted (every report printed so far whole).\n"
           "  --input FILE         Also query the URLs of FILE, one a line (- for\n"
           "                       standard input); blank lines and lines starting\n"
           "                       with # are skipped.\n"
           "  --jobs N             Query N sites at once (8 by default, at most 256).\n"
           "  --json               Each report as one line of JSON (format\n"
           "                       hostlore-report/2), in the order of the URLs.\n"
           "  --neighbours N       Scan N neighbouring addresses instead of the count\n"
           "                       the settings give; 0 by default for more than one\n"
           "                       site.\n"
           "  --no-whois           Ask no whois server.\n"
           "  --whois-server HOST  Ask HOST (HOST:PORT) instead of the settings' server.\n"
           "  --timeout S          Give up on the web and whois servers after S seconds\n"
           "                       (30 by default); time spent waiting for a whois\n"
           "                       server's turn does not count.\n"
           "  --verbose            Show the browser engine's messages in the terminal.\n"
           "  -h, --help           Show this help.\n"
           "  -v, --version        Show the version.\n";
}

std::string VersionText() {
    return "hostlore " HOSTLORE_VERSION "\n";
}

}  // namespace hostlore
