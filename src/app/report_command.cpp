#include "app/report_command.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/report_batch.h"
#include "app/report_input.h"
#include "app/report_output.h"
#include "localinfo/linux_network_configuration.h"
#include "localinfo/network_report.h"
#include "platform/program_files.h"
#include "platform/terminal_text.h"
#include "platform/termination_requests.h"
#include "platform/unbound_dns.h"
#include "query/service_panes/service_urls.h"

namespace hostlore {

namespace {

constexpr int kProgressEveryMs = 250;

// The settings every site shares, with the command line's overrides.
BatchSetup SetupFor(const CommandLine& options, ReportOutput& output) {
    const auto executable = ExecutablePath();
    BatchSetup setup{.settings = SettingsStore(
                         SettingsFolder(executable.parent_path(), UserFolders::FromEnvironment()) /
                         "settings.ini")};
    setup.connection = ReadConnectionSettings(setup.settings);
    if (!setup.connection.ignoredProxySetting.empty()) {
        output.Tell("hostlore: the proxy setting " + setup.connection.ignoredProxySetting +
                    " is not a valid integer value; the proxy is not used.");
    }
    if (options.whoisServer) {
        setup.connection.whoisServer = ParseWhoisServer(*options.whoisServer);
    }
    setup.connection.httpDeadlineMs = options.timeoutMs;
    setup.connection.whoisDeadlineMs = options.timeoutMs;
    setup.options = QueryOptions{!options.noWhois, options.neighbours};
    for (std::size_t page = 0; page < kServiceKeys.size(); ++page) {
        setup.serviceCaptions[page] = ServiceCaption(setup.settings, kServiceKeys[page]);
    }
    try {
        LinuxNetworkConfiguration machine;
        setup.networkParameters = NetworkParameterLines(machine.GetNetworkParams());
        setup.adapters = AdapterLines(machine.GetAdaptersInfo());
    } catch (const std::exception& error) {
        output.Tell(std::string("hostlore: ") + error.what());
    }
    setup.json = options.json;
    setup.separators = options.urls.size() > 1 || options.input.has_value();
    setup.jobs = options.jobs;
    return setup;
}

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

// "12/50 done, 1 not found, 3.4 sites/s, 0:14 left"; the total ends in "+"
// while the input is still being read.
std::string ProgressLine(const ReportBatch::Counts& counts, double seconds) {
    const double rate = seconds > 0 ? static_cast<double>(counts.done) / seconds : 0;
    char text[160];
    std::snprintf(text, sizeof text, "%zu/%zu%s done, %zu not found, %.1f sites/s, %s left",
                  counts.done, counts.total, counts.allRead ? "" : "+", counts.missing, rate,
                  rate > 0
                      ? Duration(static_cast<double>(counts.total - counts.done) / rate).c_str()
                      : "-:--");
    return text;
}

[[noreturn]] void EndForFailedWrite(ReportOutput& output) {
    output.EndProgress();
    std::cerr << "hostlore: cannot write the report: " << output.Failure() << '\n';
    std::_Exit(3);
}

}  // namespace

int RunReportCommand(int argc, char* argv[], const CommandLine& options) {
    QCoreApplication application(argc, argv);
    ReportOutput output;
    TerminationRequests interrupts;
    // Every report is written whole or not at all, so what was written stays whole.
    QObject::connect(&interrupts, &TerminationRequests::requested, [&output] {
        output.EndProgress();
        std::_Exit(130);
    });

    std::FILE* input = nullptr;
    if (options.input) {
        input = *options.input == "-" ? stdin : std::fopen(options.input->c_str(), "r");
        if (input == nullptr) {
            std::cerr << "hostlore: cannot read " << TerminalSafeText(*options.input) << ": "
                      << std::strerror(errno) << '\n';
            return 2;
        }
    }

    const BatchSetup setup = SetupFor(options, output);
    const SystemClock clock;
    UiHandoffPump pump;
    ReportBatch batch(
        setup,
        QueryServices{pump.Handoff(), std::make_shared<SystemResolver>(),
                      WhoisServices::WithCacheIn(UserFolders::FromEnvironment().CacheFolder(),
                                                 std::make_shared<SystemClock>()),
                      std::make_shared<UnboundDnsService>()},
        clock, [&output](const std::string& report) {
            if (!output.Write(report)) {
                EndForFailedWrite(output);
            }
        });

    QElapsedTimer elapsed;
    elapsed.start();
    const auto showProgress = [&] {
        output.ShowProgress(ProgressLine(batch.Progress(), elapsed.elapsed() / 1000.0));
    };
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, showProgress);
    progress.start(kProgressEveryMs);
    batch.OnSiteDone = showProgress;
    bool finished = false;
    batch.OnFinished = [&finished] {
        finished = true;
        QCoreApplication::quit();
    };

    for (const std::string& url : options.urls) {
        batch.Add(url);
    }
    std::string readFailure;
    if (input != nullptr) {
        ReadInputLines(
            input, pump.Handoff(), [&batch](const std::string& url) { batch.Add(url); },
            [&](const std::string& failure) {
                readFailure = failure;
                batch.EndOfInput();
            });
    } else {
        batch.EndOfInput();
    }
    if (!finished) {
        QCoreApplication::exec();
    }

    output.EndProgress();
    if (!output.Finish()) {
        EndForFailedWrite(output);
    }
    const ReportBatch::Counts& counts = batch.Progress();
    if (!readFailure.empty()) {
        std::cerr << "hostlore: cannot read " << TerminalSafeText(*options.input) << ": "
                  << readFailure << '\n';
        return 2;
    }
    if (counts.missing > 0) {
        if (setup.separators) {
            std::cerr << "hostlore: " << counts.missing << " of " << counts.total
                      << " sites do not exist\n";
        } else {
            std::cerr << "hostlore: Website does not exist!\n";
        }
    }
    return counts.missing > 0 ? 1 : 0;
}

}  // namespace hostlore
