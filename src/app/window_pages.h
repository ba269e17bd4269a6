#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/main_services.h"
#include "query/report/report_recorder.h"

namespace hostlore {

class DnsRecordsPage;
class GeneralInfoPage;
class LocalNetworkPage;
class NeighbourhoodPage;
class PageControl;
class ServicePage;
class SettingsStore;
class WebServerPage;
class WhoisInfoPage;

// What the pages ask of the window; each handler already guarded.
struct PageHandlers {
    std::function<void()> stopWhois;
    std::function<void()> stopScan;
    std::function<void(const QString& host)> queryHost;
};

// The main window's pages in tab order. General Info comes with the window;
// the others, and the recorder that sits between them and a query, only once
// something needs them: making them would cost the first window time.
class WindowPages {
  public:
    // Puts every tab into `control`, with stand-ins for the pages made later.
    WindowPages(PageControl& control, const MainServices& services, PageHandlers handlers);
    ~WindowPages();
    WindowPages(const WindowPages&) = delete;
    WindowPages& operator=(const WindowPages&) = delete;

    // Makes the pages after the first and the recorder, with the service
    // captions read from `settings`. Once, or again after it failed part-way.
    void MakeAll(const SettingsStore& settings);
    // Null until MakeAll.
    ReportRecorder* Recorder() const { return recorder_.get(); }
    // Fills Local Network Info from the machine; after MakeAll.
    void ShowLocalNetwork();

    WhoisInfoPage* Whois() const { return whoisInfo_; }
    NeighbourhoodPage* Neighbourhood() const { return neighbourhood_; }

  private:
    void MakeHiddenPages();
    void ShowServiceCaptions(const SettingsStore& settings);

    PageControl& control_;
    const MainServices& services_;
    PageHandlers handlers_;
    std::unique_ptr<ReportRecorder> recorder_;
    GeneralInfoPage* generalInfo_ = nullptr;
    DnsRecordsPage* dnsRecords_ = nullptr;
    WebServerPage* webServer_ = nullptr;
    WhoisInfoPage* whoisInfo_ = nullptr;
    std::vector<ServicePage*> servicePages_;
    NeighbourhoodPage* neighbourhood_ = nullptr;
    LocalNetworkPage* localNetwork_ = nullptr;
};

}  // namespace hostlore
