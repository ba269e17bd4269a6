#include "app/report_batch.h"

#include <QCoreApplication>
#include <QTimer>

#include "platform/terminal_text.h"
#include "query/query_rules.h"
#include "query/report/report_formats.h"

namespace hostlore {

namespace {

// Sites that may be running or done but waiting for one before them, per
// job: enough to keep every job busy past a slow site, and a bound on the
// reports held in memory.
constexpr std::size_t kAheadPerJob = 4;

}  // namespace

struct ReportBatch::Site {
    std::size_t number;
    ReportRecorder recorder;
    std::unique_ptr<QueryRun> run;
};

ReportBatch::ReportBatch(BatchSetup setup, QueryServices services, const Clock& clock,
                         std::function<void(const std::string& report)> write)
    : setup_(std::move(setup)),
      services_(std::move(services)),
      clock_(clock),
      results_(std::move(write)) {}

ReportBatch::~ReportBatch() = default;

void ReportBatch::Add(const std::string& url) {
    waiting_.emplace_back(counts_.total++, NormalizedQueryUrl(url));
    StartWaiting();
}

void ReportBatch::EndOfInput() {
    counts_.allRead = true;
    if (counts_.done == counts_.total && OnFinished) {
        OnFinished();
    }
}

void ReportBatch::StartWaiting() {
    const std::size_t ahead = static_cast<std::size_t>(setup_.jobs) * kAheadPerJob;
    while (!waiting_.empty() && running_.size() < static_cast<std::size_t>(setup_.jobs) &&
           running_.size() + results_.Held() < ahead) {
        const auto [number, url] = waiting_.front();
        waiting_.pop_front();
        Start(number, url);
    }
}

void ReportBatch::Start(std::size_t number, const std::string& url) {
    auto site = std::make_unique<Site>();
    site->number = number;
    ReportRecorder& recorder = site->recorder;
    recorder.LocalNetwork().ShowParameters(setup_.networkParameters);
    recorder.LocalNetwork().ShowAdapters(setup_.adapters);
    for (std::size_t page = 0; page < setup_.serviceCaptions.size(); ++page) {
        recorder.SetServiceCaption(page, setup_.serviceCaptions[page]);
    }
    recorder.Begin(url, clock_, setup_.connection.whoisServer);
    site->run = std::make_unique<QueryRun>(url, recorder.Views(), services_, setup_.connection,
                                           setup_.settings, setup_.options);
    Site& started = *site;
    running_.push_back(std::move(site));
    // The run calls this from inside its own bookkeeping: it ends afterwards.
    started.run->OnFinished = [this, &started] {
        QTimer::singleShot(0, QCoreApplication::instance(), [this, &started] { Finish(started); });
    };
    started.run->Start();
}

void ReportBatch::Finish(Site& site) {
    QueryReport report = site.recorder.Report();
    report.complete = true;
    const bool resolved = report.generalInfo.addresses.value.has_value();
    const std::size_t number = site.number;
    running_.remove_if(
        [&](const std::unique_ptr<Site>& running) { return running.get() == &site; });
    ++counts_.done;
    counts_.missing += resolved ? 0 : 1;
    results_.Add(number, ReportOf(report));
    if (OnSiteDone) {
        OnSiteDone();
    }
    StartWaiting();
    if (counts_.allRead && counts_.done == counts_.total && OnFinished) {
        OnFinished();
    }
}

std::string ReportBatch::ReportOf(const QueryReport& report) const {
    if (setup_.json) {
        return ReportJsonLine(report);
    }
    const std::string text = ReportText(report);
    return setup_.separators ? "=== " + TerminalSafeText(report.url) + " ===\n" + text : text;
}

}  // namespace hostlore
