#include "net/http_headers.h"

#include "platform/ascii_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

bool IsContinuation(const std::string& line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// A line without ":" has an empty name.
std::string_view NameOf(std::string_view line) {
    const auto colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

}  // namespace

TNetHeaderList::Line TNetHeaderList::Find(std::string_view name, Line from) const {
    for (auto line = from; line != lines_.end(); ++line) {
        if (!IsContinuation(*line) && EqualsIgnoringCase(NameOf(*line), name)) {
            return line;
        }
    }
    return lines_.end();
}

std::string TNetHeaderList::Value(std::string_view name) const {
    const auto line = Find(name, lines_.begin());
    return line == lines_.end() ? std::string() : JoinedValue(line);
}

std::vector<std::string> TNetHeaderList::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (auto line = Find(name, lines_.begin()); line != lines_.end();
         line = Find(name, line + 1)) {
        values.push_back(JoinedValue(line));
    }
    return values;
}

std::string TNetHeaderList::JoinedValue(Line line) const {
    const auto colon = line->find(':');
    std::string value = colon == std::string::npos ? std::string() : line->substr(colon + 1);
    for (++line; line != lines_.end() && IsContinuation(*line); ++line) {
        if (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
            value += TrimLeftControls(*line);
        } else {
            value += ' ';
            value += TrimLeftControls(*line);
        }
    }
    return std::string(TrimLeftControls(value));
}

void TNetHeaderList::Remove(std::string_view name) {
    auto first = Find(name, lines_.begin());
    if (first == lines_.end()) {
        return;
    }
    auto last = first + 1;
    while (last != lines_.end() && IsContinuation(*last)) {
        ++last;
    }
    lines_.erase(first, last);
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            group = group << 8 | (j < count ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        }
        for (std::size_t j = 0; j < 4; ++j) {
            encoded += j <= count ? kAlphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
        }
    }
    return encoded;
}

}  // namespace hostlore
