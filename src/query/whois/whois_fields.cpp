#include "query/whois/whois_fields.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "platform/ascii_text.h"

namespace hostlore {

namespace {

enum class Key { Registrar, Created, Updated, Expires, NameServer, Status, Dnssec };

struct KeyName {
    std::string_view name;  // lower case
    Key key;
};

// The keys of the registries' forms, lower case, and what each holds.
constexpr KeyName kKeys[] = {
    {"registrar", Key::Registrar},
    {"sponsoring registrar", Key::Registrar},
    {"registrar name", Key::Registrar},
    {"creation date", Key::Created},
    {"created", Key::Created},
    {"created on", Key::Created},
    {"registered on", Key::Created},
    {"registration date", Key::Created},
    {"registration time", Key::Created},
    {"domain registration date", Key::Created},
    {"regdate", Key::Created},
    {"登録年月日", Key::Created},
    {"updated date", Key::Updated},
    {"updated", Key::Updated},
    {"last updated", Key::Updated},
    {"last update", Key::Updated},
    {"last-update", Key::Updated},
    {"last modified", Key::Updated},
    {"last-modified", Key::Updated},
    {"changed", Key::Updated},
    {"最終更新", Key::Updated},
    {"registry expiry date", Key::Expires},
    {"registrar registration expiration date", Key::Expires},
    {"expiry date", Key::Expires},
    {"expiration date", Key::Expires},
    {"expiration time", Key::Expires},
    {"expire date", Key::Expires},
    {"expires", Key::Expires},
    {"expires on", Key::Expires},
    {"paid-till", Key::Expires},
    {"有効期限", Key::Expires},
    {"name server", Key::NameServer},
    {"name servers", Key::NameServer},
    {"nameserver", Key::NameServer},
    {"nameservers", Key::NameServer},
    {"nserver", Key::NameServer},
    {"domain nameservers", Key::NameServer},
    {"ネームサーバ", Key::NameServer},
    {"domain status", Key::Status},
    {"status", Key::Status},
    {"registration status", Key::Status},
    {"nettype", Key::Status},
    {"状態", Key::Status},
    {"dnssec", Key::Dnssec},
};

std::optional<Key> KeyNamed(std::string_view name) {
    const std::string lower = AsciiLowerCase(name);
    for (const KeyName& known : kKeys) {
        if (known.name == lower) {
            return known.key;
        }
    }
    return std::nullopt;
}

struct Line {
    std::size_t indent;
    std::string_view text;  // without the indentation and the line end
};

std::vector<Line> LinesOf(std::string_view reply) {
    std::vector<Line> lines;
    while (!reply.empty()) {
        const std::size_t end = std::min(reply.find('\n'), reply.size());
        std::string_view text = reply.substr(0, end);
        reply.remove_prefix(std::min(end + 1, reply.size()));
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const std::string_view trimmed = TrimBlanks(text);
        const auto indent = static_cast<std::size_t>(trimmed.data() - text.data());
        lines.push_back({trimmed.empty() ? 0 : indent, trimmed});
    }
    return lines;
}

struct Entry {
    std::string_view name;
    std::string_view value;
    bool valueOnNextLines;
};

// "Key: value", "Key:" alone, or the bracketed "[Key]   value"; none for
// comments and free text.
std::optional<Entry> EntryOf(std::string_view text) {
    if (text.starts_with('%') || text.starts_with('#') || text.starts_with(">>>")) {
        return std::nullopt;
    }
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view value = TrimBlanks(text.substr(close + 1));
        return Entry{text.substr(1, close - 1), value, value.empty()};
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view value = TrimBlanks(text.substr(colon + 1));
    return Entry{TrimBlanks(text.substr(0, colon)), value, value.empty()};
}

std::optional<bool> DnssecOf(std::string_view value) {
    const std::string lower = AsciiLowerCase(value);
    if (lower.starts_with("unsigned") || lower == "no" || lower == "inactive" || lower == "false") {
        return false;
    }
    if (lower.find("signed") != std::string::npos || lower == "yes" || lower == "active" ||
        lower == "true") {
        return true;
    }
    return std::nullopt;
}

// A status without the explanatory link gTLD registries add to it.
std::string StatusOf(std::string_view value) {
    const std::size_t link = value.find(" http");
    return std::string(TrimBlanks(value.substr(0, link)));
}

void AddOnce(std::vector<std::string>& list, std::string item) {
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(std::move(item));
    }
}

void Take(WhoisFields& fields, Key key, std::string_view value) {
    const auto date = [&](std::optional<std::int64_t>& into) {
        if (!into) {
            into = WhoisDateSeconds(value);
        }
    };
    switch (key) {
        case Key::Registrar:
            if (!fields.registrar && !value.empty()) {
                fields.registrar = std::string(value);
            }
            break;
        case Key::Created:
            date(fields.created);
            break;
        case Key::Updated:
            date(fields.updated);
            break;
        case Key::Expires:
            date(fields.expires);
            break;
        case Key::NameServer:
            AddOnce(fields.nameServers, NameServerName(value));
            break;
        case Key::Status:
            AddOnce(fields.statuses, StatusOf(value));
            break;
        case Key::Dnssec:
            if (!fields.dnssec) {
                fields.dnssec = DnssecOf(value);
            }
            break;
    }
}

bool IsListKey(Key key) {
    return key == Key::NameServer || key == Key::Status;
}

// Reads "NNNN", "NN" or a month's name off the front of `text`.
std::optional<int> TakeNumber(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

bool TakeChar(std::string_view& text, std::string_view allowed) {
    if (text.empty() || allowed.find(text.front()) == std::string_view::npos) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

std::optional<int> TakeMonthName(std::string_view& text) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() < 3) {
        return std::nullopt;
    }
    const std::string name = AsciiLowerCase(text.substr(0, 3));
    const auto found = std::find(kMonths.begin(), kMonths.end(), name);
    if (found == kMonths.end()) {
        return std::nullopt;
    }
    text.remove_prefix(3);
    return static_cast<int>(found - kMonths.begin()) + 1;
}

std::optional<std::int64_t> Seconds(int year, int month, int day, int hour, int minute,
                                    int second) {
    if (year < 1000 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 60) {
        return std::nullopt;
    }
    std::tm moment{};
    moment.tm_year = year - 1900;
    moment.tm_mon = month - 1;
    moment.tm_mday = day;
    moment.tm_hour = hour;
    moment.tm_min = minute;
    moment.tm_sec = second;
    const std::int64_t seconds = ::timegm(&moment);
    // timegm carries a 31 February into March: no such date.
    if (moment.tm_mday != day || moment.tm_mon != month - 1) {
        return std::nullopt;
    }
    return seconds;
}

// "+hh:mm", "+hhmm", "Z" or "(JST)" after the time, in seconds east of UTC;
// none when the rest is no zone.
std::optional<int> ZoneSeconds(std::string_view rest) {
    rest = TrimBlanks(rest);
    if (rest.empty() || rest == "Z" || rest == "UTC" || rest == "GMT") {
        return 0;
    }
    if (rest == "(JST)") {
        return 9 * 3600;
    }
    const bool east = rest.front() == '+';
    if (!TakeChar(rest, "+-")) {
        return std::nullopt;
    }
    const auto hours = TakeNumber(rest, 2);
    TakeChar(rest, ":");
    const auto minutes = TakeNumber(rest, 2);
    if (!hours || !minutes || !rest.empty()) {
        return std::nullopt;
    }
    const int offset = *hours * 3600 + *minutes * 60;
    return east ? offset : -offset;
}

}  // namespace

std::optional<std::int64_t> WhoisDateSeconds(std::string_view text) {
    text = TrimBlanks(text);
    // "20010203 #12345": the registry's ticket number follows.
    if (text.size() >= 8 && text.find_first_not_of("0123456789") >= 8) {
        std::string_view digits = text.substr(0, 8);
        const auto year = TakeNumber(digits, 4);
        const auto month = TakeNumber(digits, 2);
        const auto day = TakeNumber(digits, 2);
        const std::string_view rest = TrimBlanks(text.substr(8));
        if (rest.empty() || rest.starts_with('#')) {
            return Seconds(*year, *month, *day, 0, 0, 0);
        }
        return std::nullopt;
    }
    std::string_view rest = text;
    std::optional<int> year;
    std::optional<int> month;
    std::optional<int> day;
    if (text.size() >= 3 && text[2] == '-') {
        day = TakeNumber(rest, 2);
        TakeChar(rest, "-");
        month = TakeMonthName(rest);
        const bool dash = TakeChar(rest, "-");
        year = dash ? TakeNumber(rest, 4) : std::nullopt;
    } else {
        year = TakeNumber(rest, 4);
        const bool first = TakeChar(rest, "-/.");
        month = first ? TakeNumber(rest, 2) : std::nullopt;
        const bool second = TakeChar(rest, "-/.");
        day = second ? TakeNumber(rest, 2) : std::nullopt;
    }
    if (!year || !month || !day) {
        return std::nullopt;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (TakeChar(rest, "T ") && !rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
        const auto h = TakeNumber(rest, 2);
        const bool colon = TakeChar(rest, ":");
        const auto m = colon ? TakeNumber(rest, 2) : std::nullopt;
        if (!h || !m) {
            return std::nullopt;
        }
        hour = *h;
        minute = *m;
        if (TakeChar(rest, ":")) {
            const auto s = TakeNumber(rest, 2);
            if (!s) {
                return std::nullopt;
            }
            second = *s;
        }
        if (TakeChar(rest, ".,")) {
            while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
                rest.remove_prefix(1);
            }
        }
    }
    const auto zone = ZoneSeconds(rest);
    const auto seconds = Seconds(*year, *month, *day, hour, minute, second);
    if (!zone || !seconds) {
        return std::nullopt;
    }
    return *seconds - *zone;
}

WhoisFields WhoisTextFields(std::string_view reply) {
    WhoisFields fields;
    const std::vector<Line> lines = LinesOf(reply);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto entry = EntryOf(lines[i].text);
        const auto key = entry ? KeyNamed(entry->name) : std::nullopt;
        if (!key) {
            continue;
        }
        if (!entry->valueOnNextLines) {
            Take(fields, *key, entry->value);
            continue;
        }
        // A key alone on its line holds the lines indented below it: every one
        // for a list, the first for a value.
        for (std::size_t next = i + 1; next < lines.size() && !lines[next].text.empty() &&
                                       lines[next].indent > lines[i].indent;
             ++next) {
            Take(fields, *key, lines[next].text);
            if (!IsListKey(*key)) {
                break;
            }
        }
    }
    return fields;
}

std::string NameServerName(std::string_view value) {
    std::string_view name = value.substr(0, value.find_first_of(" \t"));
    while (name.ends_with('.')) {
        name.remove_suffix(1);
    }
    return AsciiLowerCase(name);
}

void AddMissingFields(WhoisFields& record, const WhoisFields& answer) {
    const auto fill = [](auto& into, const auto& from) {
        if (!into) {
            into = from;
        }
    };
    fill(record.registrar, answer.registrar);
    fill(record.created, answer.created);
    fill(record.updated, answer.updated);
    fill(record.expires, answer.expires);
    fill(record.dnssec, answer.dnssec);
    if (record.nameServers.empty()) {
        record.nameServers = answer.nameServers;
    }
    if (record.statuses.empty()) {
        record.statuses = answer.statuses;
    }
}

bool IsRateRefusal(std::string_view reply) {
    int textLines = 0;
    for (const Line& line : LinesOf(reply)) {
        textLines += line.text.empty() ? 0 : 1;
    }
    const std::string lower = AsciiLowerCase(reply);
    const bool refusal =
        lower.find("exceeded") != std::string::npos || lower.find("limit") != std::string::npos;
    const WhoisFields fields = WhoisTextFields(reply);
    return refusal && textLines < 10 && !fields.registrar && !fields.created && !fields.expires &&
           fields.nameServers.empty();
}

}  // namespace hostlore
