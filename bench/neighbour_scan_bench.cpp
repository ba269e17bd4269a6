// The neighbourhood scan against a DNS server that delays every reverse
// answer (run it through with_delaying_dns.sh): the time until the whole list
// is there, the time the same look-ups take one after another, and how soon
// the stop button shows "Done!" while look-ups are in flight.
//
// usage: neighbour_scan_bench NEIGHBOURS [--serial]

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

#include "app/pages/neighbourhood_page.h"
#include "platform/shell_opener.h"
#include "query/ip_nei_thread.h"
#include "query/neighbour_scan.h"

namespace {

using namespace hostlore;

const char* const kUrl = "http://10.20.30.100/";

class NoShell : public ShellOpener {
  public:
    void Open(const QString&) override {}
};

void PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

double SerialSeconds(Resolver& resolver, int neighbours) {
    const NeighbourScanPlan plan = PlanNeighbourScan({10, 20, 30, 100}, neighbours);
    QElapsedTimer clock;
    clock.start();
    for (std::uint64_t i = 0; i < plan.count; ++i) {
        resolver.LookupAddress(AddressOfValue(static_cast<std::uint32_t>(plan.first + i)));
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s NEIGHBOURS [--serial]\n", argv[0]);
        return 2;
    }
    const int neighbours = std::atoi(argv[1]);
    const bool serial = argc > 2 && std::string(argv[2]) == "--serial";

    QTemporaryDir folder;
    const std::filesystem::path settings = folder.filePath("settings.ini").toStdString();
    SettingsStore store(settings);
    store.WriteString("general", "ip_nei", std::to_string(neighbours));
    auto resolver = std::make_shared<SystemResolver>();
    UiHandoffPump pump;
    NoShell shell;
    std::shared_ptr<ip_nei_thread> running;
    NeighbourhoodPage page(
        shell, [](const QString&) {},
        [&] {
            running->Terminate();
            page.Status().ShowStopped();
        });
    const auto startScan = [&] {
        running = std::make_shared<ip_nei_thread>(pump.Handoff(), kUrl, page, store, resolver);
        running->OnTerminate = [&page](TThread&) { page.Status().ShowDone(); };
        running->Start();
        page.Status().ShowRunning();
    };
    auto* status = page.findChild<QLabel*>("Label11");
    auto* list = page.findChild<QListWidget*>("ListBox1");
    auto* stop = page.findChild<QToolButton*>("ip_nei_stop");

    QElapsedTimer clock;
    clock.start();
    startScan();
    PumpUntil([&] { return status->text() == "Done!"; });
    const double scan = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    int named = 0;
    for (int i = 0; i < list->count(); ++i) {
        named += list->item(i)->text().endsWith(".delay.test") ? 1 : 0;
    }
    std::printf("N=%d: %d items (%d named) complete in %.3f s\n", neighbours, list->count(), named,
                scan);
    if (serial) {
        const double one = SerialSeconds(*resolver, neighbours);
        std::printf("N=%d: the same look-ups one after another: %.3f s (scan/serial %.3f)\n",
                    neighbours, one, scan / one);
    }

    startScan();
    PumpUntil([&] { return list->count() >= 3; });
    clock.restart();
    stop->click();
    const double latency = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const QString shown = status->text();
    const int items = list->count();
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::printf("stop with look-ups in flight: \"%s\" after %.3f ms; %s\n",
                shown.toUtf8().constData(), latency,
                list->count() == items ? "the list changed no more" : "THE LIST CHANGED");
    return 0;
}
