#include "query/query_run.h"

#include "query/dns_records/dns_records_thread.h"
#include "query/general_info/findip_thread.h"
#include "query/general_info/serverinfo_thread.h"
#include "query/host_lookup_once.h"
#include "query/host_names.h"
#include "query/neighbourhood/ip_nei_thread.h"
#include "query/service_panes/service_pane_threads.h"
#include "query/url_parts.h"
#include "query/whois/whois_thread.h"

namespace hostlore {

QueryRun::QueryRun(std::string url, const QueryViews& views, QueryServices services,
                   ConnectionSettings connection, SettingsStore settings, QueryOptions options)
    : url_(std::move(url)),
      views_(views),
      services_(std::move(services)),
      connection_(std::move(connection)),
      settings_(std::move(settings)),
      options_(std::move(options)) {}

QueryRun::~QueryRun() {
    Retire();
}

void QueryRun::Start(QueryRun* earlier) {
    if (earlier != nullptr) {
        earlier->CutOff();
    }
    views_.generalInfo->Clear();
    // The records of another host must not stand under this query.
    views_.dnsRecords->ShowTable({});
    views_.webServer->Clear();
    const auto& handoff = services_.handoff;
    // The General Info worker, the header request and the scan all need the
    // host's addresses; the name server is asked once for them.
    const auto host = std::make_shared<HostLookupOnce>(
        services_.resolver, NetworkHostName(HostPart(url_)).value_or(std::string()));
    Launch(std::make_shared<findip_thread>(handoff, url_, *views_.generalInfo, host));
    auto server = std::make_shared<serverinfo_thread>(handoff, url_, *views_.generalInfo,
                                                      connection_, host, views_.webServer);
    serverWorker_ = server;
    Launch(server);
    Launch(std::make_shared<dns_records_thread>(handoff, url_, *views_.dnsRecords, settings_,
                                                services_.dns, services_.whois.suffixes));
    Launch(
        std::make_shared<whois_source_thread>(handoff, url_, *views_.servicePanes[1], settings_));
    if (options_.askWhois) {
        auto whois = std::make_shared<whois_thread>(handoff, url_, *views_.whois, connection_,
                                                    services_.resolver, services_.whois);
        whoisWorker_ = whois;
        LaunchStoppable(whois_, views_.whoisStatus, whois);
    }
    Launch(std::make_shared<alexa_thread>(handoff, url_, *views_.servicePanes[0], settings_));
    Launch(
        std::make_shared<backward_links_thread>(handoff, url_, *views_.servicePanes[2], settings_));
    Launch(
        std::make_shared<similar_pages_thread>(handoff, url_, *views_.servicePanes[3], settings_));
    LaunchStoppable(scan_, views_.scanStatus,
                    std::make_shared<ip_nei_thread>(handoff, url_, *views_.neighbourhood, settings_,
                                                    host, options_.neighbourCount));
}

void QueryRun::StopWhois() {
    Halt(whois_, [](RunStatusView& status) { status.ShowStopped(); });
}

void QueryRun::StopScan() {
    Halt(scan_, [](RunStatusView& status) { status.ShowStopped(); });
}

void QueryRun::Launch(const std::shared_ptr<TThread>& worker) {
    workers_.push_back(worker);
    ++started_;
    worker->OnTerminate = [this](TThread& /*sender*/) { WorkerEnded(); };
    worker->Start();
}

void QueryRun::LaunchStoppable(Stoppable& stoppable, RunStatusView* status,
                               const std::shared_ptr<TThread>& worker) {
    stoppable.worker = worker;
    stoppable.status = status;
    stoppable.running = true;
    workers_.push_back(worker);
    ++started_;
    worker->OnTerminate = [this, &stoppable](TThread& sender) {
        stoppable.running = false;
        if (sender.Failure()) {
            stoppable.status->ShowFailed(*sender.Failure());
        } else {
            stoppable.status->ShowDone();
        }
        WorkerEnded();
    };
    worker->Start();
    status->ShowRunning();
}

void QueryRun::Halt(Stoppable& stoppable, const std::function<void(RunStatusView&)>& show) {
    if (!stoppable.running) {
        return;
    }
    stoppable.running = false;
    try {
        if (&stoppable == &whois_) {
            StopWhoisConversations();
        }
        if (const auto worker = stoppable.worker.lock()) {
            worker->Terminate();
        }
        show(*stoppable.status);
    } catch (...) {
        // A failure while stopping is of no interest to the user.
    }
    WorkerEnded();
}

void QueryRun::CutOff() {
    StopWhois();
    StopScan();
    Retire();
}

void QueryRun::StopWhoisConversations() {
    if (const auto whois = whoisWorker_.lock()) {
        whois->StopConversations();
    }
}

void QueryRun::StopServerConnections() {
    if (const auto server = serverWorker_.lock()) {
        server->StopConnections();
    }
}

void QueryRun::Retire() {
    StopWhoisConversations();
    StopServerConnections();
    for (const auto& started : workers_) {
        if (const auto worker = started.lock()) {
            worker->Terminate();
        }
    }
    workers_.clear();
    ended_ = started_;
}

void QueryRun::WorkerEnded() {
    ++ended_;
    if (Finished() && OnFinished) {
        OnFinished();
    }
}

}  // namespace hostlore
