// A 5 MB whois reply of 75,000 lines shown on the Whois Info page: the time
// from the last byte to the whole reply on the page, and the longest the
// window went without answering (a 5 ms timer's largest gap), for the worker
// as it is and for one hand-off per line, in the same run.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>

#include "app/pages/whois_info_page.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"
#include "query/whois_thread.h"
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
    WhoisInfoPage page([] {});
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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    WhoisReplyServer server(LongWhoisReply());
    UiHandoffPump pump;
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
            return std::make_shared<whois_thread>(pump.Handoff(), "http://example.test/", page,
                                                  settings, nullptr);
        },
        server);
    return 0;
}
