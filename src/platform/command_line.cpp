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
            return argument == option.name || argument == "-" + std::string(option.name);
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
    if (positional.size() > 1) {
        return UsageError("more than one address: " + positional[1]);
    }
    const bool reportOnly = line.json || line.noWhois || line.neighbours || line.whoisServer ||
                            line.timeoutMs != CommandLine{}.timeoutMs;
    if (report) {
        if (positional.empty() || positional.front().empty()) {
            return UsageError("--report needs an address");
        }
        line.mode = CommandLine::Mode::Report;
    } else if (reportOnly) {
        return UsageError(
            "--json, --neighbours, --no-whois, --whois-server and --timeout go "
            "with --report");
    }
    if (!positional.empty()) {
        line.url = positional.front();
    }
    return line;
}

std::string UsageText() {
    return "Usage: hostlore [--verbose] [URL]\n"
           "       hostlore --report URL [--json] [--neighbours N] [--no-whois]\n"
           "                [--whois-server HOST] [--timeout S]\n"
           "\n"
           "Gathers what can be learnt about the web site behind an address: its host\n"
           "addresses, server, whois record, neighbouring hosts, and the local network.\n"
           "The manual opens from Help, Help Topic (F1).\n"
           "\n"
           "With a URL, the window opens with it in the URL box and queries it at once.\n"
           "\n"
           "Options:\n"
           "  --report URL         Query URL without a window and print the report on\n"
           "                       standard output: the status is 0 when the host\n"
           "                       resolved, 1 when it does not exist, 2 for a usage\n"
           "                       error, 130 when interrupted.\n"
           "  --json               The report as JSON (format hostlore-report/1).\n"
           "  --neighbours N       Scan N neighbouring addresses instead of the count\n"
           "                       the settings give.\n"
           "  --no-whois           Ask no whois server.\n"
           "  --whois-server HOST  Ask HOST (HOST:PORT) instead of the settings' server.\n"
           "  --timeout S          Give up on the web and whois servers after S seconds\n"
           "                       (30 by default).\n"
           "  --verbose            Show the browser engine's messages in the terminal.\n"
           "  -h, --help           Show this help.\n"
           "  -v, --version        Show the version.\n";
}

std::string VersionText() {
    return "hostlore " HOSTLORE_VERSION "\n";
}

}  // namespace hostlore
