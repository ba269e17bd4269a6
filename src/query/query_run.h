#pragma once

// query/: a query's run over its sub-folders' workers and what they share (connection settings,
// rules, page views, URL parts, host names); may include net/, platform/, settings/, never app/.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/dns_questions.h"
#include "platform/resolver.h"
#include "query/connection_settings.h"
#include "query/page_views.h"
#include "query/thread/handoff.h"
#include "query/thread/tthread.h"
#include "query/whois/whois_services.h"
#include "settings/settings_store.h"

namespace hostlore {

class serverinfo_thread;
class whois_thread;

// The pages one query fills; they outlive every query.
struct QueryViews {
    GeneralInfoView* generalInfo = nullptr;
    DnsRecordsView* dnsRecords = nullptr;
    WebServerView* webServer = nullptr;
    WhoisView* whois = nullptr;
    RunStatusView* whoisStatus = nullptr;
    std::array<ServicePaneView*, 4> servicePanes{};  // in page order
    NeighbourhoodView* neighbourhood = nullptr;
    RunStatusView* scanStatus = nullptr;
};

struct QueryServices {
    std::shared_ptr<UiHandoff> handoff;
    std::shared_ptr<Resolver> resolver;
    WhoisServices whois;
    std::shared_ptr<DnsService> dns;
};

// What a query may leave out or count differently from the settings.
struct QueryOptions {
    bool askWhois = true;
    std::optional<std::string> neighbourCount;
};

// One query, from its start to the end of its last worker: the workers,
// the one look-up of the host they share, and the state of the two the user
// can stop. Lives on the user interface thread.
class QueryRun {
  public:
    QueryRun(std::string url, const QueryViews& views, QueryServices services,
             ConnectionSettings connection, SettingsStore settings, QueryOptions options = {});
    ~QueryRun();
    QueryRun(const QueryRun&) = delete;
    QueryRun& operator=(const QueryRun&) = delete;

    // Empties General Info and starts every worker. An earlier run, when
    // given, is cut off first: its stoppable workers stop, and none of its
    // workers changes a page from then on.
    void Start(QueryRun* earlier = nullptr);

    // The stop buttons: only while the worker runs.
    void StopWhois();
    void StopScan();

    bool WhoisRunning() const { return whois_.running; }
    bool ScanRunning() const { return scan_.running; }
    // Every worker has ended, been stopped or been cut off.
    bool Finished() const { return ended_ == started_; }
    // Called once, when the run becomes finished.
    std::function<void()> OnFinished;

    const std::string& Url() const { return url_; }
    // The workers started and not yet cut off, to watch them end.
    const std::vector<std::weak_ptr<TThread>>& Workers() const { return workers_; }

  private:
    struct Stoppable {
        std::weak_ptr<TThread> worker;
        RunStatusView* status = nullptr;
        bool running = false;
    };

    void Launch(const std::shared_ptr<TThread>& worker);
    void LaunchStoppable(Stoppable& stoppable, RunStatusView* status,
                         const std::shared_ptr<TThread>& worker);
    // Ends a stoppable worker from the window's side, showing `show` on its status.
    void Halt(Stoppable& stoppable, const std::function<void(RunStatusView&)>& show);
    void CutOff();
    // No worker of this run reaches a page or this object any more, and
    // none holds a connection open.
    void Retire();
    void StopWhoisConversations();
    void StopServerConnections();
    void WorkerEnded();

    const std::string url_;
    const QueryViews views_;
    const QueryServices services_;
    const ConnectionSettings connection_;
    const SettingsStore settings_;
    const QueryOptions options_;

    std::vector<std::weak_ptr<TThread>> workers_;
    Stoppable whois_;
    Stoppable scan_;
    std::weak_ptr<whois_thread> whoisWorker_;
    std::weak_ptr<serverinfo_thread> serverWorker_;
    int started_ = 0;
    int ended_ = 0;
};

}  // namespace hostlore
