#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "query/page_views.h"
#include "query/query_run.h"
#include "query/report/query_report.h"

namespace hostlore {

// Views that write down what each page shows and pass every call on to the
// page itself, when there is one: the window's pages and its report stay the
// same, and without a window the report is all there is.
class ReportRecorder {
  public:
    // Any of the pages may be missing.
    explicit ReportRecorder(const QueryViews& shown = {}, LocalNetworkView* shownLocal = nullptr);
    ~ReportRecorder();
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    // The views a query run fills.
    const QueryViews& Views() const { return views_; }
    LocalNetworkView& LocalNetwork();

    // A new query: all but the local network and the service captions start over.
    void Begin(const std::string& url, const Clock& clock, const WhoisServerAddress& whoisServer);
    void SetServiceCaption(std::size_t page, std::string caption);

    const QueryReport& Report() const { return report_; }

  private:
    class GeneralInfo;
    class Dns;
    class WebServer;
    class Whois;
    class Status;
    class Pane;
    class Neighbourhood;
    class Local;

    QueryReport report_;
    std::unique_ptr<GeneralInfo> generalInfo_;
    std::unique_ptr<Dns> dns_;
    std::unique_ptr<WebServer> webServer_;
    std::unique_ptr<Whois> whois_;
    std::unique_ptr<Status> whoisStatus_;
    std::array<std::unique_ptr<Pane>, 4> panes_;
    std::unique_ptr<Neighbourhood> neighbourhood_;
    std::unique_ptr<Status> scanStatus_;
    std::unique_ptr<Local> local_;
    QueryViews views_;
};

}  // namespace hostlore
