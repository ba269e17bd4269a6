#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "query/report/json_writer.h"
#include "query/report/query_report.h"

namespace hostlore {

// The values of the report's JSON, each written where the writer stands.

// A text, or null for an empty one.
void StringOrNull(JsonWriter& json, const std::string& text);

void Value(JsonWriter& json, bool flag);
void Value(JsonWriter& json, const std::string& text);
void Value(JsonWriter& json, const std::vector<std::string>& texts);
// An instant as its ISO 8601 UTC text.
void Value(JsonWriter& json, std::int64_t secondsSince1970);
void Value(JsonWriter& json, const RegionReport& region);
void Value(JsonWriter& json, const CertificateReport& certificate);
void Value(JsonWriter& json, const std::vector<HopReport>& hops);

// A field the page shows, or a typed one: its value, or null and the reason
// it has none.
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
    StringOrNull(json, field.value ? std::string() : field.reason);
    json.EndObject();
}

// One answer's values as plain values, null or empty where it gives none.
void AnswerFields(JsonWriter& json, const WhoisFields& fields);

// The record's values, each as a field: null with `missing` as the reason
// where no answer gave it.
void RecordFields(JsonWriter& json, const WhoisFields& record, const std::string& missing);

}  // namespace hostlore
