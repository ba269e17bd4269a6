#include "query/web_server/web_server_json.h"

#include <cmath>
#include <ctime>

namespace hostlore {

namespace {

void Text(JsonWriter& json, std::string_view name, std::string_view text) {
    json.Key(name);
    json.String(text);
}

void Number(JsonWriter& json, std::string_view name, long long value) {
    json.Key(name);
    json.Integer(value);
}

void Flag(JsonWriter& json, std::string_view name, bool value) {
    json.Key(name);
    json.Bool(value);
}

// The value written by `write`, or null.
template <class Value, class Write>
void OrNull(JsonWriter& json, std::string_view name, const std::optional<Value>& value,
            Write write) {
    json.Key(name);
    if (value) {
        write(*value);
    } else {
        json.Null();
    }
}

void TextOrNull(JsonWriter& json, std::string_view name, const std::optional<std::string>& text) {
    OrNull(json, name, text, [&](const std::string& value) { json.String(value); });
}

void NonEmptyOrNull(JsonWriter& json, std::string_view name, const std::string& text) {
    TextOrNull(json, name, text.empty() ? std::nullopt : std::optional(text));
}

template <class Items, class Write>
void Array(JsonWriter& json, std::string_view name, const Items& items, Write write) {
    json.Key(name);
    json.BeginArray();
    for (const auto& item : items) {
        write(item);
    }
    json.EndArray();
}

// "2026-12-09T20:36:38Z"
std::string UtcText(std::int64_t secondsSince1970) {
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    std::tm utc{};
    char text[32] = {};
    if (::gmtime_r(&moment, &utc) == nullptr ||
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) {
        return {};
    }
    return text;
}

void Hop(JsonWriter& json, const HopReport& hop) {
    json.BeginObject();
    Text(json, "url", hop.url);
    Text(json, "method", hop.method);
    Text(json, "http_version", hop.httpVersion);
    Number(json, "status", hop.status);
    Text(json, "status_text", hop.statusText);
    Number(json, "milliseconds", std::llround(hop.milliseconds));
    NonEmptyOrNull(json, "location", hop.location);
    NonEmptyOrNull(json, "tls_version", hop.tlsVersion);
    NonEmptyOrNull(json, "tls_cipher", hop.tlsCipher);
    Array(json, "headers", hop.headers, [&](const auto& header) {
        json.BeginObject();
        Text(json, "name", header.first);
        Text(json, "value", header.second);
        json.EndObject();
    });
    json.EndObject();
}

void Security(JsonWriter& json, const SecuritySummary& security) {
    json.BeginObject();
    json.Key("headers");
    json.BeginObject();
    for (const SecurityHeader& header : security.headers) {
        TextOrNull(json, header.name, header.value);
    }
    json.EndObject();
    OrNull(json, "strict_transport_security", security.strictTransport,
           [&](const StrictTransport& hsts) {
               json.BeginObject();
               OrNull(json, "max_age_seconds", hsts.maxAgeSeconds,
                      [&](std::int64_t seconds) { json.Integer(seconds); });
               Flag(json, "include_subdomains", hsts.includeSubDomains);
               Flag(json, "preload", hsts.preload);
               json.EndObject();
           });
    Array(json, "cookies", security.cookies, [&](const CookieFlags& cookie) {
        json.BeginObject();
        Text(json, "name", cookie.name);
        Flag(json, "secure", cookie.secure);
        Flag(json, "http_only", cookie.httpOnly);
        NonEmptyOrNull(json, "same_site", cookie.sameSite);
        json.EndObject();
    });
    json.EndObject();
}

void Certificate(JsonWriter& json, const TNetChainCertificate& certificate) {
    json.BeginObject();
    Text(json, "subject", certificate.Subject);
    Array(json, "subject_alt_names", certificate.SubjectAltNames,
          [&](const std::string& name) { json.String(name); });
    Text(json, "issuer", certificate.Issuer);
    Text(json, "not_before", UtcText(certificate.NotBefore));
    Text(json, "not_after", UtcText(certificate.NotAfter));
    Text(json, "key_type", certificate.KeyType);
    Number(json, "key_bits", certificate.KeyBits);
    NonEmptyOrNull(json, "key_curve", certificate.KeyCurve);
    Text(json, "signature_algorithm", certificate.SignatureAlgorithm);
    Text(json, "sha256", certificate.Sha256Fingerprint);
    json.EndObject();
}

}  // namespace

void WriteWebServer(JsonWriter& json, const WebServerReport& report) {
    json.BeginObject();
    Flag(json, "finished", report.finished);
    NonEmptyOrNull(json, "failure", report.failure);
    Array(json, "hops", report.hops, [&](const HopReport& hop) { Hop(json, hop); });
    OrNull(json, "security", report.security,
           [&](const SecuritySummary& security) { Security(json, security); });
    json.Key("http2");
    json.BeginObject();
    OrNull(json, "accepted", report.http2.accepted, [&](bool accepted) { json.Bool(accepted); });
    NonEmptyOrNull(json, "reason", report.http2.reason);
    json.EndObject();
    json.Key("http3");
    json.BeginObject();
    Flag(json, "advertised", report.http3Advertised);
    TextOrNull(json, "alt_svc", report.altSvc);
    json.EndObject();
    // Its version and cipher are the last hop's.
    OrNull(json, "tls", report.tls, [&](const TNetTlsDetails& tls) {
        json.BeginObject();
        Text(json, "version", report.hops.back().tlsVersion);
        Text(json, "cipher", report.hops.back().tlsCipher);
        NonEmptyOrNull(json, "key_exchange_group", tls.KeyExchangeGroup);
        Flag(json, "ocsp_stapled", tls.OcspStapled);
        Array(json, "chain", tls.Chain,
              [&](const TNetChainCertificate& certificate) { Certificate(json, certificate); });
        json.EndObject();
    });
    json.EndObject();
}

}  // namespace hostlore
