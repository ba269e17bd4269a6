#include "query/whois/rdap_domain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "query/whois/rdap_bootstrap.h"

namespace hostlore {

namespace {

QJsonObject ObjectOf(std::string_view json) {
    return QJsonDocument::fromJson(
               QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())))
        .object();
}

QString Text(const QJsonObject& object, const char* key) {
    return object.value(QLatin1String(key)).toString();
}

bool HasRole(const QJsonObject& entity, const char* role) {
    return entity.value(QStringLiteral("roles")).toArray().contains(QLatin1String(role));
}

// A top-level entity with the role; an empty object when there is none.
QJsonObject EntityWithRole(const QJsonObject& domain, const char* role) {
    for (const auto& entity : domain.value(QStringLiteral("entities")).toArray()) {
        if (HasRole(entity.toObject(), role)) {
            return entity.toObject();
        }
    }
    return {};
}

// A jCard property: ["name", {parameters}, "type", value...]; empty when absent.
QJsonArray CardProperty(const QJsonObject& entity, const char* name) {
    const QJsonArray card = entity.value(QStringLiteral("vcardArray")).toArray().at(1).toArray();
    for (const auto& property : card) {
        if (property.toArray().at(0).toString() == QLatin1String(name)) {
            return property.toArray();
        }
    }
    return {};
}

// A property's value as text; a structured value's parts joined by blanks.
QString CardText(const QJsonArray& property) {
    const QJsonValue value = property.at(3);
    if (!value.isArray()) {
        return value.toString().trimmed();
    }
    QStringList parts;
    for (const auto& part : value.toArray()) {
        if (!part.toString().trimmed().isEmpty()) {
            parts << part.toString().trimmed();
        }
    }
    return parts.join(QLatin1Char(' '));
}

// The country of an address: its country name part, else its "cc" parameter.
QString CountryOf(const QJsonArray& address) {
    const QString name = address.at(3).toArray().at(6).toString().trimmed();
    return name.isEmpty()
               ? address.at(1).toObject().value(QStringLiteral("cc")).toString().trimmed()
               : name;
}

QString EventDate(const QJsonObject& domain, const char* action) {
    for (const auto& event : domain.value(QStringLiteral("events")).toArray()) {
        if (Text(event.toObject(), "eventAction") == QLatin1String(action)) {
            return Text(event.toObject(), "eventDate");
        }
    }
    return {};
}

class Lines {
  public:
    // A line only for a value that says something; breaks inside a value
    // would split it over lines of the page.
    void Add(const char* caption, QString value) {
        for (QChar& c : value) {
            if (c.unicode() < 0x20) {
                c = QLatin1Char(' ');
            }
        }
        value = value.trimmed();
        if (!value.isEmpty()) {
            lines_.push_back(std::string(caption) + ": " + value.toStdString());
        }
    }
    std::vector<std::string> Take() { return std::move(lines_); }

  private:
    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> RdapDomainLines(std::string_view json) {
    const QJsonObject domain = ObjectOf(json);
    Lines lines;
    if (domain.contains(QStringLiteral("errorCode"))) {
        lines.Add("Error", QString::number(domain.value(QStringLiteral("errorCode")).toInt()) +
                               QLatin1Char(' ') + Text(domain, "title"));
        for (const auto& line : domain.value(QStringLiteral("description")).toArray()) {
            lines.Add("Description", line.toString());
        }
        return lines.Take();
    }
    const QString name = Text(domain, "ldhName");
    lines.Add("Domain Name", name.isEmpty() ? Text(domain, "unicodeName") : name);
    lines.Add("Registrar", CardText(CardProperty(EntityWithRole(domain, "registrar"), "fn")));
    lines.Add("Registered", EventDate(domain, "registration"));
    lines.Add("Expires", EventDate(domain, "expiration"));
    lines.Add("Updated", EventDate(domain, "last changed"));
    for (const auto& status : domain.value(QStringLiteral("status")).toArray()) {
        lines.Add("Status", status.toString());
    }
    for (const auto& server : domain.value(QStringLiteral("nameservers")).toArray()) {
        const QString serverName = Text(server.toObject(), "ldhName");
        lines.Add("Name Server",
                  serverName.isEmpty() ? Text(server.toObject(), "unicodeName") : serverName);
    }
    const QJsonObject registrant = EntityWithRole(domain, "registrant");
    lines.Add("Registrant Organization", CardText(CardProperty(registrant, "org")));
    lines.Add("Registrant Country", CountryOf(CardProperty(registrant, "adr")));
    return lines.Take();
}

WhoisFields RdapDomainFields(std::string_view json) {
    const QJsonObject domain = ObjectOf(json);
    WhoisFields fields;
    if (domain.contains(QStringLiteral("errorCode"))) {
        return fields;
    }
    const QString registrar = CardText(CardProperty(EntityWithRole(domain, "registrar"), "fn"));
    if (!registrar.isEmpty()) {
        fields.registrar = registrar.toStdString();
    }
    fields.created = WhoisDateSeconds(EventDate(domain, "registration").toStdString());
    fields.updated = WhoisDateSeconds(EventDate(domain, "last changed").toStdString());
    fields.expires = WhoisDateSeconds(EventDate(domain, "expiration").toStdString());
    for (const auto& status : domain.value(QStringLiteral("status")).toArray()) {
        if (!status.toString().isEmpty()) {
            fields.statuses.push_back(status.toString().toStdString());
        }
    }
    for (const auto& server : domain.value(QStringLiteral("nameservers")).toArray()) {
        const QString ldhName = Text(server.toObject(), "ldhName");
        const std::string name = NameServerName(
            (ldhName.isEmpty() ? Text(server.toObject(), "unicodeName") : ldhName).toStdString());
        if (!name.empty()) {
            fields.nameServers.push_back(name);
        }
    }
    const QJsonValue signedDelegation = domain.value(QStringLiteral("secureDNS"))
                                            .toObject()
                                            .value(QStringLiteral("delegationSigned"));
    if (signedDelegation.isBool()) {
        fields.dnssec = signedDelegation.toBool();
    }
    return fields;
}

std::optional<std::string> RdapRelatedLink(std::string_view json) {
    for (const auto& entry : ObjectOf(json).value(QStringLiteral("links")).toArray()) {
        const QJsonObject link = entry.toObject();
        const QString type = Text(link, "type");
        const auto target = RdapWebUrl(Text(link, "href").toStdString());
        if (Text(link, "rel") == QLatin1String("related") &&
            (type.isEmpty() || type == QLatin1String("application/rdap+json")) && target) {
            return target;
        }
    }
    return std::nullopt;
}

}  // namespace hostlore
