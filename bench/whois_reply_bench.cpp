// A 5 MB whois reply of 75,000 lines shown on the Whois Info page: the time
// from the last byte to the whole reply on the page, and the longest the
// window went without answering (a 5 ms timer's largest gap), for the worker
// as it is and for one hand-off per line, in the same run.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <thread>

#include "app/pages/whois_info_page.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"
#include "query/whois_thread.h"
#include "support/loopback_server.h"

namespace {

using namespace hostlore;

constexpr int kLines = 75'000;

std::string Reply() {
    std::string reply;
    for (int i = 0; i < kLines; ++i) {
        reply +=
            "Line " + std::to_string(i) + ": registrant data of a very long whois record x\r\n";
    }
    return reply;
}

// Serves the reply to each connection and notes when its last byte went out.
class WhoisServer {
  public:
    explicit WhoisServer(std::string reply) : reply_(std::move(reply)) {
        const test::LoopbackListener listener = test::ListenOnLoopback(4);
        listener_ = listener.descriptor;
        port_ = listener.port;
        thread_ = std::thread([this] {
            for (;;) {
                const int peer = ::accept(listener_, nullptr, nullptr);
                if (peer < 0) {
                    return;
                }
                char request[256];
                (void)::recv(peer, request, sizeof(request), 0);
                (void)::send(peer, reply_.data(), reply_.size(), MSG_NOSIGNAL);
                lastByte_ = clock_.nsecsElapsed();
                ::close(peer);
            }
        });
        clock_.start();
    }
    ~WhoisServer() {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    int Port() const { return port_; }
    qint64 LastByteNs() const { return lastByte_; }
    const QElapsedTimer& Clock() const { return clock_; }

  private:
    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    QElapsedTimer clock_;
    std::atomic<qint64> lastByte_{0};
    std::thread thread_;
};

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
             const WhoisServer& server) {
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
    WhoisServer server(Reply());
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
