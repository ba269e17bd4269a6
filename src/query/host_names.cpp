#include "query/host_names.h"

#include <QStringList>
#include <QUrl>
#include <algorithm>

#include "platform/ascii_text.h"
#include "platform/resolver.h"
#include "query/url_parts.h"

namespace hostlore {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// No host name holds a blank or a control character.
bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

bool IsAceLabel(const QString& label) {
    return label.startsWith(QLatin1String("xn--"), Qt::CaseInsensitive);
}

// Qt's encoder lets through labels that break the joiner and bidi rules, and
// "xn--" labels that decode to nothing valid; its decoder keeps every such
// label in its ASCII form. So a name is valid when each of its "xn--" labels
// decodes.
bool AceLabelsDecode(const QByteArray& ace) {
    const QStringList aceLabels = QString::fromLatin1(ace).split(QLatin1Char('.'));
    const QStringList unicodeLabels =
        QUrl::fromAce(ace, QUrl::IgnoreIDNWhitelist).split(QLatin1Char('.'));
    if (aceLabels.size() != unicodeLabels.size()) {
        return false;
    }
    for (qsizetype i = 0; i < aceLabels.size(); ++i) {
        if (IsAceLabel(aceLabels[i]) &&
            aceLabels[i].compare(unicodeLabels[i], Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    return true;
}

bool HasAceLabel(const QByteArray& name) {
    const QStringList labels = QString::fromLatin1(name).split(QLatin1Char('.'));
    return std::any_of(labels.begin(), labels.end(), IsAceLabel);
}

}  // namespace

std::optional<std::string> NetworkHostName(std::string_view hostPart) {
    if (hostPart.starts_with('[')) {
        if (!hostPart.ends_with(']')) {
            return std::nullopt;
        }
        std::string literal(hostPart.substr(1, hostPart.size() - 2));
        return Ipv6AddressOf(literal) ? std::optional(std::move(literal)) : std::nullopt;
    }
    // A redirect's Location arrives with its host percent-encoded.
    if (hostPart.find('%') != std::string_view::npos) {
        const std::string decoded =
            QByteArray::fromPercentEncoding(
                QByteArray(hostPart.data(), static_cast<qsizetype>(hostPart.size())))
                .toStdString();
        if (decoded.find('%') != std::string::npos) {
            return std::nullopt;
        }
        return NetworkHostName(decoded);
    }
    if (IsAscii(hostPart)) {
        const QByteArray name(hostPart.data(), static_cast<qsizetype>(hostPart.size()));
        if (hostPart.empty() || !IsPrintableAscii(hostPart) ||
            (HasAceLabel(name) && !AceLabelsDecode(name))) {
            return std::nullopt;
        }
        return std::string(hostPart);
    }
    const QByteArray ace =
        QUrl::toAce(QString::fromUtf8(hostPart.data(), static_cast<qsizetype>(hostPart.size())));
    if (ace.isEmpty() || !AceLabelsDecode(ace)) {
        return std::nullopt;
    }
    return ace.toStdString();
}

std::optional<std::string> UrlWithNetworkHost(std::string_view url) {
    const auto [offset, length] = HostSpan(url);
    const std::string_view host = url.substr(offset, length);
    auto name = NetworkHostName(host);
    if (!name) {
        return std::nullopt;
    }
    if (host.starts_with('[')) {
        return std::string(url);
    }
    return std::string(url.substr(0, offset)) + *name + std::string(url.substr(offset + length));
}

std::string HostNameText(const std::string& officialName) {
    if (!IsAscii(officialName)) {
        return officialName;
    }
    const std::string unicode =
        QUrl::fromAce(QByteArray::fromStdString(officialName), QUrl::IgnoreIDNWhitelist)
            .toStdString();
    if (unicode.empty() || EqualsIgnoringCase(unicode, officialName)) {
        return officialName;
    }
    return unicode + " (" + officialName + ")";
}

}  // namespace hostlore
