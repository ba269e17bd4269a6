#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "query/query_run.h"
#include "query/report/in_order_results.h"
#include "query/report/report_recorder.h"

namespace hostlore {

// What every site of a run shares.
struct BatchSetup {
    ConnectionSettings connection{};
    SettingsStore settings;
    QueryOptions options{};
    std::array<std::string, 4> serviceCaptions{};
    std::vector<std::string> networkParameters{};
    std::vector<std::string> adapters{};
    bool json = false;
    bool separators = false;  // a line before each text report
    int jobs = 8;
};

// Reports on many sites, `jobs` of them at once in one process, on the
// thread of the event loop: each site a query of its own, all sharing the
// hand-off, the resolver and the whois session, and each report handed on as
// soon as it and all before it are done.
class ReportBatch {
  public:
    struct Counts {
        std::size_t total = 0;  // URLs read so far
        std::size_t done = 0;
        std::size_t missing = 0;  // sites that did not resolve
        bool allRead = false;
    };

    ReportBatch(BatchSetup setup, QueryServices services, const Clock& clock,
                std::function<void(const std::string& report)> write);
    ~ReportBatch();
    ReportBatch(const ReportBatch&) = delete;
    ReportBatch& operator=(const ReportBatch&) = delete;

    // The next URL, in input order.
    void Add(const std::string& url);
    // No more URLs come.
    void EndOfInput();

    const Counts& Progress() const { return counts_; }
    // Once every report has been handed on.
    std::function<void()> OnFinished;
    // After each site's end.
    std::function<void()> OnSiteDone;

  private:
    struct Site;

    void StartWaiting();
    void Start(std::size_t number, const std::string& url);
    void Finish(Site& site);
    std::string ReportOf(const QueryReport& report) const;

    const BatchSetup setup_;
    const QueryServices services_;
    const Clock& clock_;
    InOrderResults results_;
    std::list<std::pair<std::size_t, std::string>> waiting_;
    std::list<std::unique_ptr<Site>> running_;
    Counts counts_;
};

}  // namespace hostlore
