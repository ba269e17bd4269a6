#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/report_command.h"
#include "app/window_entry.h"
#include "net/net_stack.h"
#include "platform/command_line.h"
#include "platform/program_files.h"
#include "platform/safe_messages.h"
#include "platform/terminal_text.h"

namespace {

int RunWindow(const hostlore::CommandLine& options) {
    const auto module =
        hostlore::ProgramModule(hostlore::ExecutablePath().parent_path(), "libhostlore_window.so");
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::cerr << "hostlore: cannot load the window: " << ::dlerror() << '\n';
        return 1;
    }
    const auto run =
        reinterpret_cast<hostlore::RunWindowFunction>(::dlsym(handle, "hostlore_run_window"));
    if (run == nullptr) {
        std::cerr << "hostlore: " << module << " has no window\n";
        return 1;
    }
    // The toolkit sees only its own options.
    std::vector<std::string> toolkit = options.toolkitArguments;
    std::vector<char*> argv;
    argv.reserve(toolkit.size() + 1);
    for (std::string& argument : toolkit) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const hostlore::WindowStart start{options.url.c_str(), options.verbose};
    return run(static_cast<int>(toolkit.size()), argv.data(), &start);
}

}  // namespace

int main(int argc, char* argv[]) {
    hostlore::WriteToolkitMessagesSafely();
    const hostlore::CommandLine options =
        hostlore::ParseCommandLine(std::vector<std::string>(argv, argv + argc));
    switch (options.mode) {
        case hostlore::CommandLine::Mode::Help:
            std::cout << hostlore::UsageText();
            return 0;
        case hostlore::CommandLine::Mode::Version:
            std::cout << hostlore::VersionText();
            return 0;
        case hostlore::CommandLine::Mode::UsageError:
            // The error may quote an argument, which a script may have taken from anywhere.
            std::cerr << "hostlore: " << hostlore::TerminalSafeText(options.error) << "\n\n"
                      << hostlore::UsageText();
            return 2;
        case hostlore::CommandLine::Mode::Report: {
            hostlore::StartSocketLibrary();
            const int status = hostlore::RunReportCommand(argc, argv, options);
            std::fflush(nullptr);
            // Workers the report no longer waits for may still be winding down.
            std::_Exit(status);
        }
        case hostlore::CommandLine::Mode::Window:
            hostlore::StartSocketLibrary();
            return RunWindow(options);
    }
    return 2;
}
