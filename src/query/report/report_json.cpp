#include "query/dns_records/dns_records_json.h"
#include "query/neighbourhood/neighbour_items.h"
#include "query/report/json_writer.h"
#include "query/report/report_formats.h"
#include "query/report/report_json_values.h"
#include "query/web_server/web_server_json.h"

namespace hostlore {

namespace {

std::string_view StateName(RunState state) {
    switch (state) {
        case RunState::NotAsked:
            return "not asked";
        case RunState::Running:
            return "running";
        case RunState::Done:
            return "done";
        case RunState::Stopped:
            return "stopped";
        case RunState::Failed:
            return "failed";
    }
    return {};
}

void State(JsonWriter& json, RunState state, const std::string& failure) {
    json.Key("state");
    json.String(StateName(state));
    json.Key("failure");
    json.StringOrNull(state == RunState::Failed ? failure : std::string());
}

void Neighbour(JsonWriter& json, std::string_view item) {
    const auto separator = item.find(kNeighbourSeparator);
    const std::optional<std::string> name = NeighbourName(item);
    json.BeginObject();
    json.Key("address");
    json.String(item.substr(0, separator));
    json.Key("name");
    if (name) {
        json.String(*name);
    } else {
        json.Null();
    }
    json.Key("reason");
    if (name) {
        json.Null();
    } else {
        json.String(separator == std::string_view::npos ? "not looked up" : "no name");
    }
    json.EndObject();
}

// Why the record has no value where no answer gave one.
std::string WhoisRecordMissing(const WhoisReport& whois) {
    switch (whois.state) {
        case RunState::NotAsked:
            return "whois not asked";
        case RunState::Running:
            return kNotYetKnown;
        case RunState::Failed:
            if (whois.answers.empty()) {
                return whois.failure;
            }
            break;
        case RunState::Done:
        case RunState::Stopped:
            break;
    }
    return "not given";
}

std::string WriteReport(const QueryReport& report, JsonWriter::Layout layout) {
    JsonWriter json(layout);
    json.BeginObject();
    json.Key("format");
    json.String(kReportFormat);
    json.Key("url");
    json.String(report.url);
    json.Key("local_time");
    json.String(report.localTime);
    json.Key("complete");
    json.Bool(report.complete);

    const GeneralInfoReport& general = report.generalInfo;
    json.Key("general_info");
    json.BeginObject();
    Field(json, "addresses", general.addresses);
    Field(json, "location", general.location);
    Field(json, "host_name", general.hostName);
    Field(json, "server_type", general.serverType);
    Field(json, "last_modified", general.lastModified);
    Field(json, "server_date", general.serverDate);
    Field(json, "final_address", general.finalAddress);
    Field(json, "certificate", general.certificate);
    Field(json, "certificate_sha256", general.certificateSha256);
    json.Key("redirects");
    json.BeginArray();
    for (const RedirectReport& redirect : general.redirects) {
        json.BeginObject();
        json.Key("url");
        json.String(redirect.url);
        json.Key("status");
        json.Integer(redirect.status);
        json.Key("location");
        json.String(redirect.location);
        json.EndObject();
    }
    json.EndArray();
    Field(json, "ipv4", general.ipv4);
    Field(json, "ipv6", general.ipv6);
    Field(json, "region", general.region);
    Field(json, "certificate_details", general.certificateDetails);
    Field(json, "hops", general.hops);
    Field(json, "server_date_utc", general.serverDateUtc);
    Field(json, "last_modified_utc", general.lastModifiedUtc);
    json.EndObject();

    json.Key("dns");
    WriteDnsRecords(json, report.dns);
    json.Key("web_server");
    WriteWebServer(json, report.webServer);

    json.Key("whois");
    json.BeginObject();
    json.Key("server");
    json.String(report.whois.server);
    State(json, report.whois.state, report.whois.failure);
    json.Key("answers");
    json.BeginArray();
    for (const WhoisAnswer& answer : report.whois.answers) {
        json.BeginObject();
        json.Key("server");
        json.String(answer.server);
        json.Key("reply");
        json.String(answer.reply);
        json.Key("fields");
        AnswerFields(json, answer.fields);
        json.EndObject();
    }
    json.EndArray();
    json.Key("record");
    RecordFields(json, report.whois.record, WhoisRecordMissing(report.whois));
    json.EndObject();

    json.Key("services");
    json.BeginArray();
    for (const ServiceReport& service : report.services) {
        json.BeginObject();
        json.Key("page");
        json.String(service.page);
        json.Key("caption");
        json.String(service.caption);
        Field(json, "url", service.url);
        json.EndObject();
    }
    json.EndArray();

    json.Key("neighbourhood");
    json.BeginObject();
    State(json, report.neighbourhood.state, report.neighbourhood.failure);
    json.Key("items");
    json.BeginArray();
    for (const std::string& item : report.neighbourhood.items) {
        Neighbour(json, item);
    }
    json.EndArray();
    json.Key("not_scanned");
    StringOrNull(json, report.neighbourhood.notScanned);
    json.EndObject();

    json.Key("local_network");
    json.BeginObject();
    Field(json, "parameters", report.localNetwork.parameters);
    Field(json, "adapters", report.localNetwork.adapters);
    json.EndObject();

    json.EndObject();
    return json.Text() + "\n";
}

}  // namespace

std::string ReportJson(const QueryReport& report) {
    return WriteReport(report, JsonWriter::Layout::Indented);
}

std::string ReportJsonLine(const QueryReport& report) {
    return WriteReport(report, JsonWriter::Layout::OneLine);
}

}  // namespace hostlore
