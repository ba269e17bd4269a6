#include "query/host_names.h"

#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <charconv>

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

// A URL parser would end the host at some of them, and no name in the DNS
// holds any; brackets belong to IPv6 literals alone.
constexpr std::string_view kNeverInAName = "#$%/?@\\:[]";

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

// Only well-formed escapes, "%" and two hexadecimal digits: any other "%"
// stays, to be refused, rather than turn into a character nobody wrote.
std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned int byte = 0;
        const char* digits = text.data() + i + 1;
        if (text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(digits, digits + 2, byte, 16).ptr == digits + 2) {
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The lookup form's limits: labels of 1 to 63 characters, 253 in all, the
// root's final dot aside.
bool FitsTheDns(std::string_view name) {
    if (name.ends_with('.')) {
        name.remove_suffix(1);
    }
    if (name.empty() || name.size() > 253) {
        return false;
    }
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('.', start), name.size());
        if (end == start || end - start > 63) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::optional<std::string> AsciiName(const std::string& name) {
    const QByteArray bytes = QByteArray::fromStdString(name);
    if (HasAceLabel(bytes) && !AceLabelsDecode(bytes)) {
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> AceName(const std::string& name) {
    const QByteArray ace = QUrl::toAce(QString::fromStdString(name));
    if (ace.isEmpty() || !AceLabelsDecode(ace)) {
        return std::nullopt;
    }
    return ace.toStdString();
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
    const std::string decoded = PercentDecoded(hostPart);
    std::optional<std::string> name = IsAscii(decoded) ? AsciiName(decoded) : AceName(decoded);
    if (!name || !IsPrintableAscii(*name) ||
        name->find_first_of(kNeverInAName) != std::string::npos || !FitsTheDns(*name)) {
        return std::nullopt;
    }
    return name;
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
