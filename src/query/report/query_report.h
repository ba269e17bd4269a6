#pragma once

// query/report/: what a query showed, the recorder that fills it and its text and JSON writers; may
// include query/, query/dns_records/, query/web_server/, query/neighbourhood/ and platform/.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "query/dns_records/dns_records_table.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

// A value a page shows, or why it has none and what the page shows instead.
template <class Value>
struct Reported {
    std::optional<Value> value;
    std::string reason;
    std::string shownInstead;

    static Reported Of(Value shown) { return {std::move(shown), {}, {}}; }
    static Reported Missing(std::string why, std::string shown = {}) {
        return {std::nullopt, std::move(why), std::move(shown)};
    }
};

inline constexpr const char* kNotYetKnown = "not known yet";

// How a page's stoppable worker stands.
enum class RunState { NotAsked, Running, Done, Stopped, Failed };

// One redirect the header request followed.
struct RedirectReport {
    std::string url;
    int status = 0;
    std::string location;  // made absolute
};

// What the header request went through, for the report alone: every hop,
// and the SHA-256 fingerprint of the certificate shown (empty without one).
struct ServerChainReport {
    std::vector<HopReport> hops;
    std::string certificateSha256;
};

struct GeneralInfoReport {
    Reported<std::vector<std::string>> addresses =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
    Reported<std::string> location = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> hostName = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> serverType = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> lastModified = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> serverDate = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> finalAddress = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> certificate = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> certificateSha256 = Reported<std::string>::Missing(kNotYetKnown);
    std::vector<RedirectReport> redirects;
    std::vector<HopReport> hops;
};

struct WhoisAnswer {
    std::string server;
    std::string reply;  // exactly as it came
};

struct WhoisReport {
    std::string server;  // the one the query starts with
    RunState state = RunState::NotAsked;
    std::string failure;
    std::vector<WhoisAnswer> answers;
    std::vector<std::string> lines;  // as the page shows them
};

struct ServiceReport {
    std::string page;
    std::string caption;
    Reported<std::string> url = Reported<std::string>::Missing("not navigated");
};

struct NeighbourhoodReport {
    RunState state = RunState::NotAsked;
    std::string failure;
    std::vector<std::string> items;  // as the list shows them
};

struct LocalNetworkReport {
    Reported<std::vector<std::string>> parameters =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
    Reported<std::vector<std::string>> adapters =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
};

// Everything a query showed, page by page: what Save Report and the command
// line's report write.
struct QueryReport {
    std::string url;
    std::string localTime;  // ISO 8601 with the zone's offset
    bool complete = false;
    GeneralInfoReport generalInfo;
    DnsRecordsTable dns;
    WebServerReport webServer;
    WhoisReport whois;
    std::array<ServiceReport, 4> services;
    NeighbourhoodReport neighbourhood;
    LocalNetworkReport localNetwork;
};

}  // namespace hostlore
