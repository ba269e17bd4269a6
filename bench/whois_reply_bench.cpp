// A 5 MB whois reply of 75,000 lines shown on the Whois Info page: the time
// from the last byte to the whole reply on the page, and the longest the
// window went without answering (a 5 ms timer's largest gap), for the worker
// as it is and for one hand-off per line, in the same run. Then a reply that
// is one 1 MiB line, shown by the page as it is (cut for display) and as one
// memo line, as the page showed it before.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <cstdio>
#include <thread>
#include <utility>

#include "app/pages/page_widgets.h"
#include "app/pages/whois_info_page.h"
#include "net/whois_client.h"
#include "platform/clock.h"
#include "platform/network_text.h"
#include "query/url_parts.h"
#include "query/whois/whois_reply.h"
#include "query/whois/whois_thread.h"
#include "support/temporary_folder.h"
#include "whois_reply_server.h"

namespace {

using namespace hostlore;

using bench::LongWhoisReply;
using bench::WhoisReplyServer;

// The worker as it was: one hand-off for every line.
class line_by_line_whois_thread : public TThread {
  public:
    line_by_line_whois_thread(std::shared_ptr<UiHandoff> handoff, WhoisView& page,
                              const ConnectionSettings& settings)
        : TThread(std::move(handoff)), page_(page), client_(nullptr) {
        client_.Host = settings.whoisServer.host;
        client_.Port = settings.whoisServer.port;
    }

  protected:
    void Execute() override {
        Synchronize([&] { page_.ClearReply(); });
        const auto lines = WhoisReplyLines(client_.QueryDomain("example.test"));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Synchronize([&] { page_.AppendReplyLines(std::span(lines).subspan(i, 1)); });
        }
    }

  private:
    WhoisView& page_;
    TNetWhois client_;
};

void Measure(const char* name, const std::function<std::shared_ptr<TThread>(WhoisInfoPage&)>& make,
             const WhoisReplyServer& server) {
    const SystemClock clock;
    WhoisInfoPage page(clock, [] {});
    page.show();
    auto* status = page.findChild<QLabel*>("Label5");
    auto* memo = page.findChild<QPlainTextEdit*>("Memo3");
    qint64 lastTick = server.Clock().nsecsElapsed();
    qint64 longestGap = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = server.Clock().nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    ticks.start();
    const auto worker = make(page);
    worker->OnTerminate = [&page](TThread&) { page.Status().ShowDone(); };
    worker->Start();
    page.Status().ShowRunning();
    while (status->text() != "Done!") {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const qint64 shown = server.Clock().nsecsElapsed();
    std::printf("%s: %d lines on the page %.3f s after the last byte; longest unanswered %.1f ms\n",
                name, memo->blockCount(), static_cast<double>(shown - server.LastByteNs()) / 1e9,
                static_cast<double>(longestGap) / 1e6);
}

// The page as it was: every reply line one memo line, however long.
class WholeLinePage : public QWidget, public WhoisView {
  public:
    WholeLinePage() : memo_(TextArea("Memo3", QStringLiteral("Whois Info"))) {
        (new QVBoxLayout(this))->addWidget(memo_);
    }
    void ClearReply() override { memo_->clear(); }
    void RecordReply(const WhoisAnswer& /*answer*/) override {}
    void AppendReplyLines(std::span<const std::string> lines) override {
        QStringList shown;
        for (const std::string& line : lines) {
            shown << TextFromNetwork(line);
        }
        memo_->appendPlainText(shown.join('\n'));
    }

  private:
    QPlainTextEdit* memo_;
};

// Hands the page one line of 1 MiB and waits until all of it is on the page
// and painted; the longest gap of a 5 ms timer meanwhile is how long the
// window could not answer.
void MeasureLongLine(const char* name, QWidget& page, WhoisView& view) {
    page.resize(800, 600);
    page.show();
    QCoreApplication::processEvents();
    auto* memo = page.findChild<QPlainTextEdit*>("Memo3");
    const std::string line(std::size_t{1} << 20, 'w');
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    ticks.start();
    QTimer::singleShot(0, [&] { view.AppendReplyLines(std::span(&line, 1)); });
    while (std::cmp_less(memo->document()->characterCount(), line.size())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    memo->viewport()->repaint();
    const qint64 shown = clock.nsecsElapsed();
    // A few more ticks, so that the gap across the paint is counted too.
    while (clock.nsecsElapsed() - shown < 20'000'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::printf("one 1 MiB line, %s: on the page in %.3f s; longest unanswered %.1f ms\n", name,
                static_cast<double>(shown) / 1e9, static_cast<double>(longestGap) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    WhoisReplyServer server(LongWhoisReply());
    UiHandoffPump pump;
    test::TemporaryFolder cache;
    ConnectionSettings settings;
    settings.whoisServer = {"127.0.0.1", server.Port()};
    Measure(
        "one hand-off per line",
        [&](WhoisInfoPage& page) {
            return std::make_shared<line_by_line_whois_thread>(pump.Handoff(), page, settings);
        },
        server);
    Measure(
        "in batches",
        [&](WhoisInfoPage& page) {
            return std::make_shared<whois_thread>(
                pump.Handoff(), "http://example.test/", page, settings, nullptr,
                WhoisServices::WithCacheIn(cache.Path(), std::make_shared<SystemClock>()));
        },
        server);
    WholeLinePage before;
    MeasureLongLine("as one memo line (before)", before, before);
    const SystemClock clock;
    WhoisInfoPage now(clock, [] {});
    MeasureLongLine("cut for display (now)", now, now);
    return 0;
}
