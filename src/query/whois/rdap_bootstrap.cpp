#include "query/whois/rdap_bootstrap.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/ascii_text.h"

namespace hostlore {

namespace {

// The first https URL of the list, else the first http one, ending in "/".
std::optional<std::string> PreferredUrl(const QJsonArray& urls) {
    std::optional<std::string> chosen;
    for (const auto& entry : urls) {
        const auto url = RdapWebUrl(entry.toString().toStdString());
        if (url && url->starts_with("https:")) {
            chosen = url;
            break;
        }
        if (!chosen) {
            chosen = url;
        }
    }
    if (chosen && chosen->back() != '/') {
        *chosen += '/';
    }
    return chosen;
}

}  // namespace

std::optional<std::string> RdapWebUrl(std::string_view url) {
    for (const std::string_view scheme : {"https://", "http://"}) {
        if (url.size() > scheme.size() &&
            EqualsIgnoringCase(url.substr(0, scheme.size()), scheme)) {
            return std::string(scheme) + std::string(url.substr(scheme.size()));
        }
    }
    return std::nullopt;
}

std::optional<RdapBootstrap> RdapBootstrap::Parse(std::string_view json) {
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())));
    if (!document.isObject() || !document.object().value(QStringLiteral("services")).isArray()) {
        return std::nullopt;
    }
    RdapBootstrap bootstrap;
    for (const auto& service : document.object().value(QStringLiteral("services")).toArray()) {
        const QJsonArray pair = service.toArray();
        const auto url = PreferredUrl(pair.at(1).toArray());
        if (!url) {
            continue;
        }
        for (const auto& suffix : pair.at(0).toArray()) {
            const std::string name = AsciiLowerCase(suffix.toString().toStdString());
            if (!name.empty()) {
                bootstrap.services_.emplace_back(name, *url);
            }
        }
    }
    return bootstrap;
}

std::optional<std::string> RdapBootstrap::BaseUrlFor(std::string_view domain) const {
    const std::string name = AsciiLowerCase(domain);
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& service : services_) {
        const std::string& suffix = service.first;
        const bool fits =
            name == suffix || (name.size() > suffix.size() && name.ends_with(suffix) &&
                               name[name.size() - suffix.size() - 1] == '.');
        if (fits && (best == nullptr || suffix.size() > best->first.size())) {
            best = &service;
        }
    }
    if (best == nullptr) {
        return std::nullopt;
    }
    return best->second;
}

}  // namespace hostlore
