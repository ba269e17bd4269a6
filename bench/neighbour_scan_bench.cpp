// The neighbourhood scan against a DNS server that delays every reverse
// answer (run it through with_delaying_dns.sh, or all figures through
// neighbour_scan_figures.sh), the scan as it is beside the same scan with its
// look-ups through libunbound and the former one that made its look-ups on up
// to 16 threads per scan, in the same run:
//
//   scan NEIGHBOURS [ROUNDS]  the time until the whole list is there, rounds
//                             taking turns, with the median of each;
//   stops SCANS               scans stopped one after another as soon as the
//                             first item shows, as a user pressing Enter again
//                             and again does: the threads and descriptors of
//                             the process before, at most and 100 ms after the
//                             last stop, and the most look-ups in flight.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/pages/neighbourhood_page.h"
#include "event_loop.h"
#include "platform/shell_opener.h"
#include "query/neighbourhood/ip_nei_thread.h"
#include "support/pooled_reverse_lookups.h"
#include "support/process_counts.h"
#include "thread_per_lookup_scan.h"
#include "unbound_reverse_resolver.h"

namespace {

using namespace hostlore;
using bench::Median;
using bench::PumpFor;
using bench::PumpUntil;

const char* const kUrl = "http://10.20.30.100/";
const Ipv4Address kHost{10, 20, 30, 100};

class NoShell : public ShellOpener {
  public:
    void Open(const QString&) override {}
};

// Counts the blocking reverse look-ups under way, for the former scan.
class CountingResolver : public Resolver {
  public:
    explicit CountingResolver(std::shared_ptr<Resolver> inner) : inner_(std::move(inner)) {}
    HostLookup LookupName(const std::string& name) override { return inner_->LookupName(name); }
    HostLookup LookupAddress(const Ipv4Address& address) override {
        const int now = ++inFlight_;
        int most = most_.load();
        while (most < now && !most_.compare_exchange_weak(most, now)) {
        }
        HostLookup found = inner_->LookupAddress(address);
        --inFlight_;
        return found;
    }
    std::unique_ptr<ReverseLookups> NewReverseLookups() override {
        return test::PooledReverseLookups(*this);
    }
    int Most() const { return most_; }

  private:
    std::shared_ptr<Resolver> inner_;
    std::atomic<int> inFlight_{0};
    std::atomic<int> most_{0};
};

enum class Kind { Ares, Unbound, UnboundTuned, Former };
constexpr Kind kKinds[] = {Kind::Ares, Kind::Unbound, Kind::UnboundTuned, Kind::Former};

struct Bench {
    explicit Bench(int neighbours)
        : plan(PlanNeighbourScan(kHost, neighbours)),
          settings(std::filesystem::path(folder.filePath("settings.ini").toStdString())),
          system(std::make_shared<SystemResolver>()),
          counting(std::make_shared<CountingResolver>(system)),
          page(
              shell, [](const QString&) {},
              [this] {
                  current->Terminate();
                  page.Status().ShowStopped();
              }),
          status(page.findChild<QLabel*>("Label11")),
          list(page.findChild<QListWidget*>("ListBox1")),
          stop(page.findChild<QToolButton*>("ip_nei_stop")) {
        settings.WriteString("general", "ip_nei", std::to_string(neighbours));
    }

    std::shared_ptr<TThread> Scan(Kind kind) {
        switch (kind) {
            case Kind::Ares:
                return std::make_shared<ip_nei_thread>(pump.Handoff(), kUrl, page, settings,
                                                       system);
            case Kind::Unbound:
                return std::make_shared<ip_nei_thread>(pump.Handoff(), kUrl, page, settings,
                                                       unbound);
            case Kind::UnboundTuned:
                return std::make_shared<ip_nei_thread>(pump.Handoff(), kUrl, page, settings, tuned);
            case Kind::Former:
                break;
        }
        return std::make_shared<thread_per_lookup_scan>(pump.Handoff(), page, plan, counting);
    }

    int InFlight(Kind kind) const {
        switch (kind) {
            case Kind::Ares:
                return static_cast<int>(system->PeakReverseLookupsInFlight());
            case Kind::Unbound:
                return static_cast<int>(unbound->PeakInFlight());
            case Kind::UnboundTuned:
                return static_cast<int>(tuned->PeakInFlight());
            case Kind::Former:
                break;
        }
        return counting->Most();
    }

    // As a query starts its scan: the stop button stops this one.
    void Start(std::shared_ptr<TThread> worker) {
        current = std::move(worker);
        current->OnTerminate = [this](TThread&) { page.Status().ShowDone(); };
        current->Start();
        page.Status().ShowRunning();
    }

    int Named() const {
        int named = 0;
        for (int i = 0; i < list->count(); ++i) {
            named += list->item(i)->text().endsWith(".delay.test") ? 1 : 0;
        }
        return named;
    }

    QTemporaryDir folder;
    const NeighbourScanPlan plan;
    SettingsStore settings;
    std::shared_ptr<SystemResolver> system;
    std::shared_ptr<CountingResolver> counting;
    std::shared_ptr<UnboundReverseResolver> unbound =
        std::make_shared<UnboundReverseResolver>(false);
    std::shared_ptr<UnboundReverseResolver> tuned = std::make_shared<UnboundReverseResolver>(true);
    UiHandoffPump pump;
    NoShell shell;
    std::shared_ptr<TThread> current;
    NeighbourhoodPage page;
    QLabel* status;
    QListWidget* list;
    QToolButton* stop;
};

const char* NameOf(Kind kind) {
    switch (kind) {
        case Kind::Ares:
            return "one batch (c-ares, one thread)";
        case Kind::Unbound:
            return "one batch (libunbound)";
        case Kind::UnboundTuned:
            return "one batch (libunbound, tuned)";
        case Kind::Former:
            break;
    }
    return "former (16 threads per scan)";
}

int Scans(int neighbours, int rounds) {
    Bench bench(neighbours);
    std::vector<double> seconds[std::size(kKinds)];
    for (int round = 0; round < rounds; ++round) {
        for (const Kind kind : kKinds) {
            QElapsedTimer clock;
            clock.start();
            bench.Start(bench.Scan(kind));
            PumpUntil([&] { return bench.status->text() == "Done!"; });
            seconds[static_cast<int>(kind)].push_back(static_cast<double>(clock.nsecsElapsed()) /
                                                      1e9);
            if (round == 0) {
                std::printf("N=%d %-32s %d items, %d named\n", neighbours, NameOf(kind),
                            bench.list->count(), bench.Named());
            }
        }
    }
    for (const Kind kind : kKinds) {
        std::printf("N=%d %-32s complete in %.3f s (median of", neighbours, NameOf(kind),
                    Median(seconds[static_cast<int>(kind)]));
        for (const double value : seconds[static_cast<int>(kind)]) {
            std::printf(" %.3f", value);
        }
        std::printf(")\n");
    }
    return 0;
}

int Stops(int scans) {
    Bench bench(20);
    // The program's first query starts the resolver's thread for good.
    bench.list->clear();
    bench.Start(bench.Scan(Kind::Ares));
    PumpUntil([&] { return bench.list->count() == 1; });
    bench.stop->click();
    PumpFor(100);
    for (const Kind kind : kKinds) {
        const int threadsBefore = test::ThreadCount();
        const int descriptorsBefore = test::OpenDescriptorCount();
        int threadsMost = threadsBefore;
        int descriptorsMost = descriptorsBefore;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < scans; ++i) {
            bench.list->clear();  // the new scan's first item shows its look-ups are under way
            bench.Start(bench.Scan(kind));
            PumpUntil([&] { return bench.list->count() == 1; });
            bench.stop->click();
            threadsMost = std::max(threadsMost, test::ThreadCount());
            descriptorsMost = std::max(descriptorsMost, test::OpenDescriptorCount());
        }
        const double took = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const int items = bench.list->count();
        PumpFor(100);
        const int threadsAfter = test::ThreadCount();
        const int descriptorsAfter = test::OpenDescriptorCount();
        const int inFlight = bench.InFlight(kind);
        std::printf(
            "%d stopped scans, %-32s in %.2f s: threads %d before, at most %d, %d 100 ms after "
            "the last stop; descriptors %d, %d, %d; at most %d look-ups in flight; %s\n",
            scans, NameOf(kind), took, threadsBefore, threadsMost, threadsAfter, descriptorsBefore,
            descriptorsMost, descriptorsAfter, inFlight,
            bench.list->count() == items ? "the list changed no more after the stop"
                                         : "THE LIST CHANGED AFTER THE STOP");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "scan") {
        return Scans(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 5);
    }
    if (mode == "stops") {
        return Stops(std::atoi(argv[2]));
    }
    std::fprintf(stderr, "usage: %s scan NEIGHBOURS [ROUNDS] | stops SCANS\n", argv[0]);
    return 2;
}
