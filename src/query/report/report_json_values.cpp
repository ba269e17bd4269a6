#include "query/report/report_json_values.h"

#include <optional>

#include "platform/clock.h"

namespace hostlore {

namespace {

template <typename T>
void OptionalValue(JsonWriter& json, const std::optional<T>& value) {
    if (value) {
        Value(json, *value);
    } else {
        json.Null();
    }
}

template <typename T>
Reported<T> Given(const std::optional<T>& value, const std::string& missing) {
    return value ? Reported<T>::Of(*value) : Reported<T>::Missing(missing);
}

Reported<std::vector<std::string>> Given(const std::vector<std::string>& values,
                                         const std::string& missing) {
    return values.empty() ? Reported<std::vector<std::string>>::Missing(missing)
                          : Reported<std::vector<std::string>>::Of(values);
}

// The status line's words after its code: "Moved Permanently" of "301 Moved Permanently".
std::string ReasonPhrase(const std::string& statusText, int status) {
    const std::string code = std::to_string(status);
    if (statusText.starts_with(code + " ")) {
        return statusText.substr(code.size() + 1);
    }
    return statusText == code ? std::string() : statusText;
}

}  // namespace

void StringOrNull(JsonWriter& json, const std::string& text) {
    if (text.empty()) {
        json.Null();
    } else {
        json.String(text);
    }
}

void Value(JsonWriter& json, bool flag) {
    json.Bool(flag);
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

void Value(JsonWriter& json, std::int64_t secondsSince1970) {
    json.String(UtcTimeText(secondsSince1970));
}

void Value(JsonWriter& json, const RegionReport& region) {
    json.BeginObject();
    json.Key("address");
    json.String(region.address);
    json.Key("block");
    json.String(region.block);
    json.Key("rule");
    StringOrNull(json, region.rule);
    json.EndObject();
}

void Value(JsonWriter& json, const CertificateReport& certificate) {
    json.BeginObject();
    json.Key("subject");
    json.String(certificate.subject);
    json.Key("subject_alternative_names");
    Value(json, certificate.alternativeNames);
    json.Key("issuer");
    json.String(certificate.issuer);
    json.Key("not_before");
    Value(json, certificate.notBefore);
    json.Key("not_after");
    Value(json, certificate.notAfter);
    json.Key("days_left");
    json.Integer(certificate.daysLeft);
    json.Key("verdict");
    json.String(certificate.verdict);
    json.Key("sha256");
    json.String(certificate.sha256);
    json.Key("tls_version");
    StringOrNull(json, certificate.tlsVersion);
    json.Key("cipher");
    StringOrNull(json, certificate.cipher);
    json.EndObject();
}

void Value(JsonWriter& json, const std::vector<HopReport>& hops) {
    json.BeginArray();
    for (const HopReport& hop : hops) {
        json.BeginObject();
        json.Key("url");
        json.String(hop.url);
        json.Key("method");
        json.String(hop.method);
        json.Key("status");
        json.Integer(hop.status);
        json.Key("status_text");
        json.String(ReasonPhrase(hop.statusText, hop.status));
        json.Key("http_version");
        json.String(hop.httpVersion);
        json.Key("headers");
        json.BeginArray();
        for (const auto& [name, value] : hop.headers) {
            json.BeginObject();
            json.Key("name");
            json.String(name);
            json.Key("value");
            json.String(value);
            json.EndObject();
        }
        json.EndArray();
        json.Key("milliseconds");
        json.Decimal(hop.milliseconds, 1);
        json.Key("location");
        StringOrNull(json, hop.location);
        json.Key("tls_version");
        StringOrNull(json, hop.tlsVersion);
        json.Key("cipher");
        StringOrNull(json, hop.tlsCipher);
        json.EndObject();
    }
    json.EndArray();
}

void AnswerFields(JsonWriter& json, const WhoisFields& fields) {
    json.BeginObject();
    json.Key("registrar");
    OptionalValue(json, fields.registrar);
    json.Key("created");
    OptionalValue(json, fields.created);
    json.Key("updated");
    OptionalValue(json, fields.updated);
    json.Key("expires");
    OptionalValue(json, fields.expires);
    json.Key("name_servers");
    Value(json, fields.nameServers);
    json.Key("statuses");
    Value(json, fields.statuses);
    json.Key("dnssec");
    OptionalValue(json, fields.dnssec);
    json.EndObject();
}

void RecordFields(JsonWriter& json, const WhoisFields& record, const std::string& missing) {
    json.BeginObject();
    Field(json, "registrar", Given(record.registrar, missing));
    Field(json, "created", Given(record.created, missing));
    Field(json, "updated", Given(record.updated, missing));
    Field(json, "expires", Given(record.expires, missing));
    Field(json, "name_servers", Given(record.nameServers, missing));
    Field(json, "statuses", Given(record.statuses, missing));
    Field(json, "dnssec", Given(record.dnssec, missing));
    json.EndObject();
}

}  // namespace hostlore
