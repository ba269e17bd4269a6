#pragma once

// query/report/: what a query showed, the recorder that fills it and its text and JSON writers; may
// include query/, query/dns_records/, query/web_server/, query/whois/, query/neighbourhood/ and
// platform/.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "query/dns_records/dns_records_table.h"
#include "query/web_server/web_server_report.h"
#include "query/whois/whois_fields.h"

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

// The answering server's certificate as values.
struct CertificateReport {
    std::string subject;  // the whole names, "CN=www.example.test, O=Example"
    std::string issuer;
    std::vector<std::string> alternativeNames;
    std::int64_t notBefore = 0;  // seconds since 1970 UTC
    std::int64_t notAfter = 0;
    std::int64_t daysLeft = 0;  // whole days, rounded down; negative once expired
    std::string verdict;        // "valid", "expired", ...
    std::string sha256;
    std::string tlsVersion;  // what the handshake settled on: "TLSv1.3"
    std::string cipher;
};

// What the header request went through, for the report alone: every hop,
// the SHA-256 fingerprint of the certificate shown (empty without one) and
// that certificate as values.
struct ServerChainReport {
    std::vector<HopReport> hops;
    std::string certificateSha256;
    std::optional<CertificateReport> certificate;
    // The last reply's Date and Last-Modified, seconds since 1970 UTC; none
    // when it gave none that can be read.
    std::optional<std::int64_t> serverDate;
    std::optional<std::int64_t> lastModified;
};

// The row of the region table that named the location.
struct RegionReport {
    std::string address;  // the IPv4 address that decided
    std::string block;
    std::string rule;  // empty when the default stood
};

struct GeneralInfoReport {
    Reported<std::vector<std::string>> addresses =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
    Reported<std::vector<std::string>> ipv4 =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
    Reported<std::vector<std::string>> ipv6 =
        Reported<std::vector<std::string>>::Missing(kNotYetKnown);
    Reported<RegionReport> region = Reported<RegionReport>::Missing(kNotYetKnown);
    Reported<std::string> location = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> hostName = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> serverType = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> lastModified = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> serverDate = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> finalAddress = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> certificate = Reported<std::string>::Missing(kNotYetKnown);
    Reported<std::string> certificateSha256 = Reported<std::string>::Missing(kNotYetKnown);
    std::vector<RedirectReport> redirects;
    Reported<CertificateReport> certificateDetails =
        Reported<CertificateReport>::Missing(kNotYetKnown);
    Reported<std::vector<HopReport>> hops = Reported<std::vector<HopReport>>::Missing(kNotYetKnown);
    Reported<std::int64_t> serverDateUtc = Reported<std::int64_t>::Missing(kNotYetKnown);
    Reported<std::int64_t> lastModifiedUtc = Reported<std::int64_t>::Missing(kNotYetKnown);
};

struct WhoisAnswer {
    std::string server;
    std::string reply;   // exactly as it came
    WhoisFields fields;  // what it says as values, when it is a record
};

struct WhoisReport {
    std::string server;  // the one the query starts with
    RunState state = RunState::NotAsked;
    std::string failure;
    std::vector<WhoisAnswer> answers;
    std::vector<std::string> lines;  // as the page shows them
    // Each value from the first answer that gives it.
    WhoisFields record;
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
    std::string notScanned;          // why the list is empty, when the scan had nothing to do
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
    std::string localTime;       // ISO 8601 with the zone's offset
    std::int64_t startedAt = 0;  // the same moment in seconds since 1970
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
