#include "app/report_command.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <iostream>

#include "localinfo/linux_network_configuration.h"
#include "localinfo/network_report.h"
#include "platform/clock.h"
#include "platform/program_files.h"
#include "platform/termination_requests.h"
#include "platform/unbound_dns.h"
#include "query/query_rules.h"
#include "query/query_run.h"
#include "query/report/report_formats.h"
#include "query/report/report_recorder.h"
#include "query/service_panes/service_urls.h"

namespace hostlore {

namespace {

void ShowLocalNetwork(LocalNetworkView& page) {
    LinuxNetworkConfiguration machine;
    page.ShowParameters(NetworkParameterLines(machine.GetNetworkParams()));
    page.ShowAdapters(AdapterLines(machine.GetAdaptersInfo()));
}

}  // namespace

int RunReportCommand(int argc, char* argv[], const CommandLine& options) {
    QCoreApplication application(argc, argv);
    TerminationRequests interrupts;
    // Half a JSON document is worse than none.
    QObject::connect(&interrupts, &TerminationRequests::requested, [] { std::_Exit(130); });

    const auto executable = ExecutablePath();
    const SettingsStore settings(
        SettingsFolder(executable.parent_path(), UserFolders::FromEnvironment()) / "settings.ini");
    ConnectionSettings connection = ReadConnectionSettings(settings);
    if (!connection.ignoredProxySetting.empty()) {
        std::cerr << "hostlore: the proxy setting " << connection.ignoredProxySetting
                  << " is not a valid integer value; the proxy is not used.\n";
    }
    if (options.whoisServer) {
        connection.whoisServer = ParseWhoisServer(*options.whoisServer);
    }
    connection.httpDeadlineMs = options.timeoutMs;
    connection.whoisDeadlineMs = options.timeoutMs;

    ReportRecorder recorder;
    try {
        ShowLocalNetwork(recorder.LocalNetwork());
    } catch (const std::exception& error) {
        std::cerr << "hostlore: " << error.what() << '\n';
    }
    for (std::size_t page = 0; page < kServiceKeys.size(); ++page) {
        recorder.SetServiceCaption(page, ServiceCaption(settings, kServiceKeys[page]));
    }
    const std::string url = NormalizedQueryUrl(options.url);
    SystemClock clock;
    recorder.Begin(url, LocalTimeText(clock), connection.whoisServer.host);

    UiHandoffPump pump;
    QueryRun run(
        url, recorder.Views(),
        QueryServices{pump.Handoff(), std::make_shared<SystemResolver>(),
                      WhoisServices::WithCacheIn(UserFolders::FromEnvironment().CacheFolder(),
                                                 std::make_shared<SystemClock>()),
                      std::make_shared<UnboundDnsService>()},
        connection, settings, QueryOptions{!options.noWhois, options.neighbours});
    run.OnFinished = [] { QCoreApplication::quit(); };
    QTimer whoisDeadline;
    whoisDeadline.setSingleShot(true);
    QObject::connect(&whoisDeadline, &QTimer::timeout,
                     [&run] { run.FailWhois("Read timed out."); });
    whoisDeadline.start(connection.whoisDeadlineMs);
    run.Start();
    if (!run.Finished()) {
        QCoreApplication::exec();
    }

    QueryReport report = recorder.Report();
    report.complete = true;
    const std::string text = options.json ? ReportJson(report) : ReportText(report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    const bool resolved = report.generalInfo.addresses.value.has_value();
    if (!resolved) {
        std::cerr << "hostlore: Website does not exist!\n";
    }
    return resolved ? 0 : 1;
}

}  // namespace hostlore
