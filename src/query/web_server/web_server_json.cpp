#include "query/web_server/web_server_json.h"

#include <cmath>
#include <ctime>

namespace hostlore {

namespace {

void TextOrNull(JsonWriter& json, std::string_view name, const std::optional<std::string>& text) {
    json.Key(name);
    if (text) {
        json.String(*text);
    } else {
        json.Null();
    }
}

void NonEmptyOrNull(JsonWriter& json, std::string_view name, const std::string& text) {
    TextOrNull(json, name, text.empty() ? std::nullopt : std::optional(text));
}

void Flag(JsonWriter& json, std::string_view name, bool value) {
    json.Key(name);
    json.Bool(value);
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
    json.Key("url");
    json.String(hop.url);
    json.Key("method");
    json.String(hop.method);
    json.Key("http_version");
    json.String(hop.httpVersion);
    json.Key("status");
    json.Integer(hop.status);
    json.Key("status_text");
    json.String(hop.statusText);
    json.Key("milliseconds");
    json.Integer(std::llround(hop.milliseconds));
    NonEmptyOrNull(json, "location", hop.location);
    NonEmptyOrNull(json, "tls_version", hop.tlsVersion);
    NonEmptyOrNull(json, "tls_cipher", hop.tlsCipher);
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
    json.Key("strict_transport_security");
    if (const auto& hsts = security.strictTransport) {
        json.BeginObject();
        json.Key("max_age_seconds");
        if (hsts->maxAgeSeconds) {
            json.Integer(*hsts->maxAgeSeconds);
        } else {
            json.Null();
        }
        Flag(json, "include_subdomains", hsts->includeSubDomains);
        Flag(json, "preload", hsts->preload);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("cookies");
    json.BeginArray();
    for (const CookieFlags& cookie : security.cookies) {
        json.BeginObject();
        json.Key("name");
        json.String(cookie.name);
        Flag(json, "secure", cookie.secure);
        Flag(json, "http_only", cookie.httpOnly);
        NonEmptyOrNull(json, "same_site", cookie.sameSite);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void Certificate(JsonWriter& json, const TNetChainCertificate& certificate) {
    json.BeginObject();
    json.Key("subject");
    json.String(certificate.Subject);
    json.Key("subject_alt_names");
    json.BeginArray();
    for (const std::string& name : certificate.SubjectAltNames) {
        json.String(name);
    }
    json.EndArray();
    json.Key("issuer");
    json.String(certificate.Issuer);
    json.Key("not_before");
    json.String(UtcText(certificate.NotBefore));
    json.Key("not_after");
    json.String(UtcText(certificate.NotAfter));
    json.Key("key_type");
    json.String(certificate.KeyType);
    json.Key("key_bits");
    json.Integer(certificate.KeyBits);
    NonEmptyOrNull(json, "key_curve", certificate.KeyCurve);
    json.Key("signature_algorithm");
    json.String(certificate.SignatureAlgorithm);
    json.Key("sha256");
    json.String(certificate.Sha256Fingerprint);
    json.EndObject();
}

void Tls(JsonWriter& json, const TNetTlsDetails& tls, const HopReport& last) {
    json.BeginObject();
    json.Key("version");
    json.String(last.tlsVersion);
    json.Key("cipher");
    json.String(last.tlsCipher);
    NonEmptyOrNull(json, "key_exchange_group", tls.KeyExchangeGroup);
    Flag(json, "ocsp_stapled", tls.OcspStapled);
    json.Key("chain");
    json.BeginArray();
    for (const TNetChainCertificate& certificate : tls.Chain) {
        Certificate(json, certificate);
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

void WriteWebServer(JsonWriter& json, const WebServerReport& report) {
    json.BeginObject();
    Flag(json, "finished", report.finished);
    NonEmptyOrNull(json, "failure", report.failure);
    json.Key("hops");
    json.BeginArray();
    for (const HopReport& hop : report.hops) {
        Hop(json, hop);
    }
    json.EndArray();
    json.Key("security");
    if (report.security) {
        Security(json, *report.security);
    } else {
        json.Null();
    }
    json.Key("http2");
    json.BeginObject();
    json.Key("accepted");
    if (report.http2.accepted) {
        json.Bool(*report.http2.accepted);
    } else {
        json.Null();
    }
    NonEmptyOrNull(json, "reason", report.http2.reason);
    json.EndObject();
    json.Key("http3");
    json.BeginObject();
    Flag(json, "advertised", report.http3Advertised);
    TextOrNull(json, "alt_svc", report.altSvc);
    json.EndObject();
    json.Key("tls");
    if (report.tls) {
        Tls(json, *report.tls, report.hops.back());
    } else {
        json.Null();
    }
    json.EndObject();
}

}  // namespace hostlore
