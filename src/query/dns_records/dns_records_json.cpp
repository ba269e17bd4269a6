#include "query/dns_records/dns_records_json.h"

#include "query/dns_records/dns_record_text.h"

namespace hostlore {

namespace {

void Field(JsonWriter& json, std::string_view name, const std::string& text) {
    json.Key(name);
    json.String(text);
}

void Field(JsonWriter& json, std::string_view name, long long number) {
    json.Key(name);
    json.Integer(number);
}

// The fields of a value; a name's field is called after what it names.
struct ValueFields {
    JsonWriter& json;
    const std::string& type;

    void operator()(const AddressData& value) const { Field(json, "address", value.address); }
    void operator()(const NameData& value) const {
        Field(json, type == "NS" ? "host" : "target", value.name);
    }
    void operator()(const SoaData& value) const {
        Field(json, "primary_server", value.primaryServer);
        Field(json, "contact", value.contact);
        Field(json, "serial", value.serial);
        Field(json, "refresh", value.refresh);
        Field(json, "retry", value.retry);
        Field(json, "expire", value.expire);
        Field(json, "minimum", value.minimum);
    }
    void operator()(const MxData& value) const {
        Field(json, "preference", value.preference);
        Field(json, "exchange", value.exchange);
    }
    void operator()(const TxtData& value) const {
        json.Key("strings");
        json.BeginArray();
        for (const std::string& part : value.strings) {
            json.String(part);
        }
        json.EndArray();
        json.Key("spf");
        json.Bool(IsSpf(value));
    }
    void operator()(const CaaData& value) const {
        Field(json, "flags", value.flags);
        Field(json, "tag", value.tag);
        Field(json, "value", value.value);
    }
};

std::string_view StateName(DnssecState state) {
    switch (state) {
        case DnssecState::Pending:
            return "pending";
        case DnssecState::Valid:
            return "valid";
        case DnssecState::Bogus:
            return "bogus";
        case DnssecState::NotSigned:
            return "not_signed";
        case DnssecState::NotChecked:
            return "not_checked";
    }
    return {};
}

}  // namespace

void WriteDnsRecords(JsonWriter& json, const DnsRecordsTable& table) {
    json.BeginObject();
    json.Key("host");
    json.StringOrNull(table.host);
    json.Key("domain");
    json.StringOrNull(table.domain);
    json.Key("records");
    json.BeginArray();
    for (const DnsRecordRow& row : table.records) {
        json.BeginObject();
        Field(json, "name", row.name);
        json.Key("type");
        json.StringOrNull(row.type);
        json.Key("ttl");
        if (row.ttl) {
            json.Integer(*row.ttl);
        } else {
            json.Null();
        }
        json.Key("value");
        if (row.value) {
            json.BeginObject();
            std::visit(ValueFields{json, row.type}, *row.value);
            json.EndObject();
        } else {
            json.Null();
        }
        json.Key("reason");
        json.StringOrNull(row.value ? std::string() : row.reason);
        json.EndObject();
    }
    json.EndArray();
    json.Key("dnssec");
    json.BeginArray();
    for (const DnssecLine& line : table.dnssec) {
        json.BeginObject();
        Field(json, "name", line.name);
        json.Key("state");
        json.String(StateName(line.state));
        json.Key("reason");
        json.StringOrNull(line.reason);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace hostlore
