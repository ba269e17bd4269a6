#include "query/report/report_json_values.h"

#include <optional>

#include "platform/clock.h"

namespace hostlore {

namespace {

// A value as it is, null when missing.
template <typename T>
void PlainValue(JsonWriter& json, const std::optional<T>& value) {
    if (value) {
        Value(json, *value);
    } else {
        json.Null();
    }
}

void PlainValue(JsonWriter& json, const std::vector<std::string>& values) {
    Value(json, values);
}

// Each value of a whois record with its key, in the report's order.
template <class Visit>
void ForEachField(const WhoisFields& fields, const Visit& visit) {
    visit("registrar", fields.registrar);
    visit("created", fields.created);
    visit("updated", fields.updated);
    visit("expires", fields.expires);
    visit("name_servers", fields.nameServers);
    visit("statuses", fields.statuses);
    visit("dnssec", fields.dnssec);
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
    ForEachField(fields, [&json](std::string_view key, const auto& value) {
        json.Key(key);
        PlainValue(json, value);
    });
    json.EndObject();
}

void RecordFields(JsonWriter& json, const WhoisFields& record, const std::string& missing) {
    json.BeginObject();
    ForEachField(record, [&](std::string_view key, const auto& value) {
        Field(json, key, Given(value, missing));
    });
    json.EndObject();
}

}  // namespace hostlore
