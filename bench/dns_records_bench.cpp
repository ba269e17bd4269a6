// DNS Records against the test zones of tests/dns/with_test_dns.sh (run it
// through that script, as root, or through dns_records_figures.sh):
//
//   page ROUNDS  the time until the page is complete for www.signed.example,
//                validated from the test anchor, beside dig asking the same
//                questions one after another (one dig) and all at once (a
//                dig for each), rounds taking turns, with the medians;
//   stops QUERIES  queries of www.silent.example, whose name server never
//                answers, each stopped as soon as its questions are out: the
//                threads and descriptors before, at most and 100 ms after the
//                last stop.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/pages/dns_records_page.h"
#include "event_loop.h"
#include "platform/unbound_dns.h"
#include "query/dns_records/dns_records_thread.h"
#include "support/process_counts.h"

namespace {

using namespace hostlore;
using bench::Median;
using bench::PumpFor;
using bench::PumpUntil;

// The questions the page asks of www.signed.example, as dig takes them.
const std::vector<std::pair<const char*, const char*>> kQuestions = {
    {"www.signed.example", "A"},      {"www.signed.example", "AAAA"},
    {"signed.example", "SOA"},        {"signed.example", "NS"},
    {"signed.example", "MX"},         {"signed.example", "TXT"},
    {"_dmarc.signed.example", "TXT"}, {"signed.example", "CAA"},
    {"www.signed.example", "CAA"}};

struct Bench {
    Bench() : settings(std::filesystem::path(folder.filePath("settings.ini").toStdString())) {
        const char* anchor = std::getenv("HOSTLORE_TEST_TRUST_ANCHOR");
        settings.WriteString("dns", "trust_anchor", anchor != nullptr ? anchor : "");
        table = page.findChild<QTableWidget*>("Records");
    }

    std::shared_ptr<dns_records_thread> Start(const char* url) {
        auto worker = std::make_shared<dns_records_thread>(pump.Handoff(), url, page, settings, dns,
                                                           PublicSuffixList::Packaged());
        worker->OnTerminate = [](TThread&) {};
        worker->Start();
        return worker;
    }

    bool Complete() const {
        if (table->rowCount() == 0) {
            return false;
        }
        for (int row = 0; row < table->rowCount(); ++row) {
            const QString value = table->item(row, 3)->text();
            if (value == "waiting for the answer" || value == "not known yet") {
                return false;
            }
        }
        return true;
    }

    QTemporaryDir folder;
    SettingsStore settings;
    UiHandoffPump pump;
    std::shared_ptr<UnboundDnsService> dns = std::make_shared<UnboundDnsService>();
    DnsRecordsPage page;
    QTableWidget* table = nullptr;
};

QStringList DigArguments(std::size_t from, std::size_t to) {
    QStringList arguments = {"+dnssec", "+noall", "+answer"};
    for (std::size_t i = from; i < to; ++i) {
        arguments << kQuestions[i].first << kQuestions[i].second;
    }
    return arguments;
}

double DigSeconds(bool parallel) {
    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<QProcess>> digs;
    const std::size_t count = parallel ? kQuestions.size() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        digs.push_back(std::make_unique<QProcess>());
        digs.back()->start("dig",
                           parallel ? DigArguments(i, i + 1) : DigArguments(0, kQuestions.size()));
    }
    for (auto& dig : digs) {
        dig->waitForFinished();
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

int Page(int rounds) {
    Bench bench;
    // The first query loads the library; a user's first query pays for that once.
    bench.Start("http://www.signed.example/");
    PumpUntil([&] { return bench.Complete(); });
    std::printf("%d rows, first row: %s\n", bench.table->rowCount(),
                bench.table->item(0, 3)->text().toUtf8().constData());
    std::vector<double> seconds[3];
    for (int round = 0; round < rounds; ++round) {
        bench.page.ShowTable({});
        QElapsedTimer clock;
        clock.start();
        const auto worker = bench.Start("http://www.signed.example/");
        PumpUntil([&] { return bench.Complete(); });
        seconds[0].push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        seconds[1].push_back(DigSeconds(false));
        seconds[2].push_back(DigSeconds(true));
    }
    const char* const names[] = {"DNS Records, validated", "dig, one after another",
                                 "dig, all at once"};
    for (int kind = 0; kind < 3; ++kind) {
        std::printf("%-24s %.1f ms (median of %d; fastest %.1f, slowest %.1f)\n", names[kind],
                    Median(seconds[kind]) * 1e3, rounds,
                    *std::min_element(seconds[kind].begin(), seconds[kind].end()) * 1e3,
                    *std::max_element(seconds[kind].begin(), seconds[kind].end()) * 1e3);
    }
    return 0;
}

int Stops(int queries) {
    Bench bench;
    {
        // As the program does at its first query: the library loads for good.
        const auto first = bench.Start("http://www.unsigned.example/");
        PumpUntil([&] { return bench.Complete(); });
    }
    PumpFor(100);
    const int threadsBefore = test::ThreadCount();
    const int descriptorsBefore = test::OpenDescriptorCount();
    int threadsMost = threadsBefore;
    int descriptorsMost = descriptorsBefore;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < queries; ++i) {
        bench.page.ShowTable({});
        const auto worker = bench.Start("http://www.silent.example/");
        PumpUntil([&] { return bench.table->rowCount() > 0; });  // every question is out
        threadsMost = std::max(threadsMost, test::ThreadCount());
        descriptorsMost = std::max(descriptorsMost, test::OpenDescriptorCount());
        worker->Terminate();
    }
    const double took = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    PumpFor(100);
    std::printf(
        "%d stopped queries in %.2f s: threads %d before, at most %d, %d 100 ms after the last "
        "stop; descriptors %d, %d, %d\n",
        queries, took, threadsBefore, threadsMost, test::ThreadCount(), descriptorsBefore,
        descriptorsMost, test::OpenDescriptorCount());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "page") {
        return Page(std::atoi(argv[2]));
    }
    if (mode == "stops") {
        return Stops(std::atoi(argv[2]));
    }
    std::fprintf(stderr, "usage: %s page ROUNDS | stops QUERIES\n", argv[0]);
    return 2;
}
