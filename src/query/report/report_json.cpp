#include "query/dns_records/dns_records_json.h"
#include "query/neighbourhood/neighbour_items.h"
#include "query/report/json_writer.h"
#include "query/report/report_formats.h"
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

void Value(JsonWriter& json, const std::string& text) {
    json.String(text);
}

void Value(JsonWriter& json, const std::vector<std::string>& texts) {
    json.BeginArray();
    for (const std::string& text : texts) {
        json.String(text);
    }
    json.EndArray();
}

// A field the page shows: its value, or null and the reason it has none.
template <typename T>
void Field(JsonWriter& json, std::string_view name, const Reported<T>& field) {
    json.Key(name);
    json.BeginObject();
    json.Key("value");
    if (field.value) {
        Value(json, *field.value);
    } else {
        json.Null();
    }
    json.Key("reason");
    json.StringOrNull(field.value ? std::string() : field.reason);
    json.EndObject();
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

}  // namespace

std::string ReportJson(const QueryReport& report) {
    JsonWriter json;
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
        json.EndObject();
    }
    json.EndArray();
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
    json.EndObject();

    json.Key("local_network");
    json.BeginObject();
    Field(json, "parameters", report.localNetwork.parameters);
    Field(json, "adapters", report.localNetwork.adapters);
    json.EndObject();

    json.EndObject();
    return json.Text() + "\n";
}

}  // namespace hostlore
