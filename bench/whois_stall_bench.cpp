// The main window's longest unanswered moment (the largest gap of a 2 ms timer)
// while a query whose whois reply is 5 MB runs, with the browser panes of the
// engine module ("engine") or with empty panes ("blank"). The panes load small
// pages from a loopback server. Prints the gap of the first query, which also
// starts the engine's first pages, then of three more queries and their
// median. Run it through whois_stall.sh, which runs both kinds side by side.
// Usage: whois_stall_bench engine|blank [NAME MODULE]   (another build of the
// engine module, reported under NAME)

#include <time.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "app/web_engine/deferred_web_engine.h"
#include "app/web_engine/web_engine_pane.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/loopback_server.h"
#include "whois_reply_server.h"

namespace {

using namespace hostlore;

// Answers every request with a small page titled after its target.
test::LoopbackServer PageServer() {
    return test::LoopbackServer([](test::ServerConnection& peer) {
        const std::string request = peer.ReadUntil("\r\n\r\n");
        const auto start = request.find(' ');
        const auto end = request.find(' ', start + 1);
        const std::string target = request.substr(start + 1, end - start - 1);
        const std::string body = "<html><head><title>" + target + "</title></head><body><h1>" +
                                 target + "</h1><p>A service page.</p></body></html>";
        peer.Send(
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
            "Content-Length: " +
            std::to_string(body.size()) + "\r\n\r\n" + body);
    });
}

qint64 ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The largest interval between two ticks since the last Reset, and the most
// processor time the window's thread spent between two ticks: on a busy
// machine the gaps also hold the time other programs ran, the busy stretch
// only the window's own work.
class GapMeter {
  public:
    GapMeter() {
        clock_.start();
        ticks_.setTimerType(Qt::PreciseTimer);
        ticks_.setInterval(2);
        QObject::connect(&ticks_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const qint64 cpu = ThreadCpuNs();
            if (now - last_ > longest_) {
                longest_ = now - last_;
                longestEnd_ = now;
            }
            busiest_ = std::max(busiest_, cpu - lastCpu_);
            last_ = now;
            lastCpu_ = cpu;
        });
        ticks_.start();
    }
    void Reset() {
        last_ = clock_.nsecsElapsed();
        lastCpu_ = ThreadCpuNs();
        longest_ = busiest_ = 0;
    }
    double LongestMs() const { return static_cast<double>(longest_) / 1e6; }
    double BusiestMs() const { return static_cast<double>(busiest_) / 1e6; }
    // When the longest gap began and ended, in seconds of the monotonic clock,
    // to find it in a profile recorded with that clock (perf record -k 1).
    std::pair<double, double> LongestSpan() const {
        const double origin = static_cast<double>(clock_.msecsSinceReference()) / 1e3;
        return {origin + static_cast<double>(longestEnd_ - longest_) / 1e9,
                origin + static_cast<double>(longestEnd_) / 1e9};
    }

  private:
    QElapsedTimer clock_;
    QTimer ticks_;
    qint64 last_ = 0;
    qint64 lastCpu_ = 0;
    qint64 longest_ = 0;
    qint64 longestEnd_ = 0;
    qint64 busiest_ = 0;
};

bool PanesShowPages(const QList<WebEnginePane*>& panes, int query) {
    return std::all_of(panes.begin(), panes.end(), [query](const WebEnginePane* pane) {
        return pane->View() != nullptr && pane->View()->property("title").toString().contains(
                                              QStringLiteral("q%1-").arg(query));
    });
}

}  // namespace

int main(int argc, char** argv) {
    const bool engine = argc > 1 && std::strcmp(argv[1], "engine") == 0;
    const bool otherModule = engine && argc > 3;
    const char* name = otherModule ? argv[2] : argv[1];
    if (engine) {
        PrepareWebEngineProcess(false);
    }
    QApplication application(argc, argv);
    const bench::WhoisReplyServer whois(bench::LongWhoisReply());
    const test::LoopbackServer pages = PageServer();
    const std::string base = "http://127.0.0.1:" + std::to_string(pages.Port());

    test::FakeProgram program;
    program.WriteSettings(
        "[general]\r\ndefault_url=\r\nexecute=false\r\nget_ie=false\r\n"
        "[whois]\r\nserver=127.0.0.1:" +
        std::to_string(whois.Port()) + "\r\n[url]\r\nSite_Info_url=" + base +
        "/site?url=\r\nWhois_Source_url=" + base + "/whois/\r\nBackward_Links_url=" + base +
        "/links?q=\r\nSimilar_Pages_url=" + base + "/similar?q=\r\n");
    MainServices services = program.Services();
    if (engine) {
        UseWebEnginePanes(services, otherModule ? QString::fromLocal8Bit(argv[3])
                                                : QStringLiteral(HOSTLORE_WEB_ENGINE_MODULE));
    } else {
        services.webPanes = [] { return new BlankWebPane; };
    }
    Tmain window(services);
    auto* url = window.findChild<QComboBox*>(QStringLiteral("url_edit"));
    auto* status = window.findChild<QLabel*>(QStringLiteral("Label5"));
    const auto panes = window.findChildren<WebEnginePane*>();

    GapMeter gaps;
    window.show();
    if (engine) {
        test::PumpUntil(
            [&] {
                return std::all_of(panes.begin(), panes.end(),
                                   [](const WebEnginePane* pane) { return pane->View(); });
            },
            60000);
        std::printf("%s engine start: longest gap %.1f ms, busiest %.1f ms\n", name,
                    gaps.LongestMs(), gaps.BusiestMs());
    }
    test::PumpUntil([] { return false; }, 500);

    std::vector<double> gapsMs;
    std::vector<double> busyMs;
    for (int query = 1; query <= 4; ++query) {
        gaps.Reset();
        url->setEditText(QStringLiteral("http://www.q%1-example.test/").arg(query));
        window.goClick(nullptr);
        test::PumpUntil(
            [&] {
                return status->text() == QStringLiteral("Done!") &&
                       (!engine || PanesShowPages(panes, query));
            },
            60000);
        test::PumpUntil([] { return false; }, 300);
        const auto [from, to] = gaps.LongestSpan();
        std::printf("%s query %d: longest gap %.1f ms (%.3f-%.3f), busiest %.1f ms\n", name, query,
                    gaps.LongestMs(), from, to, gaps.BusiestMs());
        if (query > 1) {
            gapsMs.push_back(gaps.LongestMs());
            busyMs.push_back(gaps.BusiestMs());
        }
    }
    std::sort(gapsMs.begin(), gapsMs.end());
    std::sort(busyMs.begin(), busyMs.end());
    std::printf("%s median of queries 2-4: longest gap %.1f ms, busiest %.1f ms\n", name, gapsMs[1],
                busyMs[1]);
    std::fflush(stdout);
    std::_Exit(0);
}
