// What the Web Server page costs, for one URL, a new connection each time,
// as medians of runs taken in turns:
//   - General Info's header request with the page, until the page is complete
//     (its last text set, the HTTP/2 check answered), which may come before
//     General Info's fields, and until the request ends, both complete;
//   - the same request without the page, until General Info's fields are;
// each against the last, by runs and by pairs of runs in both orders;
//   - curl -sIL, then openssl s_client -showcerts to the server that answered.
// Run as root in the test namespace beside the real servers, trusting their
// authority through SSL_CERT_FILE: tests/dns/with_test_dns.sh
// tests/web_servers/with_web_servers.sh sh -c 'SSL_CERT_FILE=$HOSTLORE_TEST_WEB_CA
// web_server_page_bench 51 https://HOST/PATH'
//
// usage: web_server_page_bench RUNS URL   (needs curl and openssl)

#include <QCoreApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_measures.h"
#include "platform/resolver.h"
#include "query/general_info/serverinfo_thread.h"
#include "query/host_lookup_once.h"
#include "query/host_names.h"
#include "query/url_parts.h"
#include "query/web_server/http2_probe.h"
#include "support/fake_views.h"

namespace {

using namespace hostlore;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "web_server_page_bench: %s\n", what);
    std::exit(1);
}

struct QueryTime {
    std::string lastUrl;  // that gave the last reply
    double milliseconds = 0;
    double pageShown = 0;  // until the page's last text was set
};

struct TimedWebServer : test::RecordingWebServer {
    void Show(const WebServerReport& report, const QString& text) override {
        RecordingWebServer::Show(report, text);
        last = Clock::now();
    }
    Clock::time_point last;
};

// The header request of one query, with the page or without, timed until its
// end-of-run handler: by then the page, or General Info, is complete.
QueryTime Query(const std::string& url, bool withPage, UiHandoffPump& pump,
                const std::shared_ptr<Resolver>& resolver) {
    const auto start = Clock::now();
    test::RecordingGeneralInfo generalInfo;
    TimedWebServer page;
    bool ended = false;
    Clock::time_point end;
    // As a query does: its workers share one look-up of the host.
    const auto host = std::make_shared<HostLookupOnce>(
        resolver, NetworkHostName(HostPart(url)).value_or(std::string()));
    const auto worker = std::make_shared<serverinfo_thread>(
        pump.Handoff(), url, generalInfo, ConnectionSettings{}, host, withPage ? &page : nullptr);
    worker->OnTerminate = [&](TThread&) {
        end = Clock::now();
        ended = true;
    };
    worker->Start();
    while (!ended) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (generalInfo.serverType.empty() || generalInfo.serverType == "X") {
        Fail("the header request did not succeed");
    }
    const double milliseconds = Milliseconds(end - start);
    if (!withPage) {
        return {{}, milliseconds};
    }
    const WebServerReport& report = page.shown.back().report;
    if (!report.finished || report.hops.empty() || !report.http2.accepted) {
        Fail("the page is not complete");
    }
    return {report.hops.back().url, milliseconds, Milliseconds(page.last - start)};
}

// The medians of `ratios` run by run and by pairs of runs in both orders, as
// percentages over one. The first query after the tools finds the processors
// idle and pays for waking them, so runs alternate between two ratios; a run
// of each order together weighs both alike.
void PrintRatios(const char* what, const std::vector<double>& ratios) {
    std::vector<double> pairs;
    for (std::size_t k = 0; k + 1 < ratios.size(); k += 2) {
        pairs.push_back(std::sqrt(ratios[k] * ratios[k + 1]));
    }
    std::printf("  %s against General Info alone: run by run %+.1f %%, by pairs %+.1f %%\n", what,
                (Median(ratios) - 1) * 100, (Median(pairs) - 1) * 100);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        Fail("usage: web_server_page_bench RUNS URL");
    }
    QCoreApplication application(argc, argv);
    const int runs = std::atoi(argv[1]);
    const std::string url = argv[2];
    const char* trusted = std::getenv("SSL_CERT_FILE");
    const std::string caFile = trusted != nullptr ? trusted : "";
    UiHandoffPump pump;
    const auto resolver = std::make_shared<SystemResolver>();
    const auto origin = SecureOriginOf(Query(url, true, pump, resolver).lastUrl);
    if (!origin) {
        Fail("the last reply did not come over https");
    }
    const std::string server = origin->host + ":" + std::to_string(origin->port);

    std::vector<double> page;
    std::vector<double> pageShown;
    std::vector<double> generalInfo;
    std::vector<double> ratios;
    std::vector<double> shownRatios;
    std::vector<double> tools;
    for (int i = 0; i < runs; ++i) {
        // Which goes first alternates, so that neither always finds the
        // servers warmed by the other.
        double withPage = 0;
        double shown = 0;
        double without = 0;
        for (const bool paged : {i % 2 == 0, i % 2 != 0}) {
            const QueryTime time = Query(url, paged, pump, resolver);
            (paged ? withPage : without) = time.milliseconds;
            shown = paged ? time.pageShown : shown;
        }
        page.push_back(withPage);
        pageShown.push_back(shown);
        generalInfo.push_back(without);
        ratios.push_back(withPage / without);
        shownRatios.push_back(shown / without);
        const auto start = Clock::now();
        if (!bench::RunQuietly({"curl", "-sIL", "--cacert", caFile, "-o", "/dev/null", url}) ||
            !bench::RunQuietly({"openssl", "s_client", "-showcerts", "-connect", server,
                                "-servername", origin->host, "-CAfile", caFile})) {
            Fail("curl or openssl failed");
        }
        tools.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%s, new connections each time, medians of %d:\n", url.c_str(), runs);
    std::printf("  the page complete (its last text set)  %8.2f ms\n", Median(pageShown));
    std::printf("  the query with the page, to its end    %8.2f ms\n", Median(page));
    std::printf("  General Info alone                     %8.2f ms\n", Median(generalInfo));
    PrintRatios("the page complete", shownRatios);
    PrintRatios("the query with the page, to its end,", ratios);
    std::printf("  curl -sIL, openssl s_client -showcerts %7.2f ms (page: %.2fx)\n", Median(tools),
                Median(page) / Median(tools));
    return 0;
}
