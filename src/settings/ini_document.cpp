#include "settings/ini_document.h"

#include "platform/ascii_text.h"

namespace hostlore {

namespace {

bool IsSectionHeader(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.front() == '[';
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.front() == ';';
}

std::string_view SectionNameOf(std::string_view trimmedHeader) {
    std::string_view inner = trimmedHeader.substr(1);
    const auto close = inner.find(']');
    if (close != std::string_view::npos) {
        inner = inner.substr(0, close);
    }
    return TrimBlanks(inner);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view content) {
    // Every mark goes, not only the first: the file is written back without
    // them, and a mark left in front of a section would hide it only then.
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    while (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    IniDocument document;
    while (!content.empty()) {
        const auto newline = content.find('\n');
        std::string_view line = content.substr(0, newline);
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        document.lines_.emplace_back(line);
    }
    return document;
}

std::string IniDocument::Serialize() const {
    std::string content;
    for (const auto& line : lines_) {
        content += line;
        content += "\r\n";
    }
    return content;
}

std::optional<IniDocument::Section> IniDocument::FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto trimmed = TrimBlanks(lines_[i]);
        if (!IsSectionHeader(trimmed) || !EqualsIgnoringCase(SectionNameOf(trimmed), name)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && !IsSectionHeader(TrimBlanks(lines_[end]))) {
            ++end;
        }
        return Section{i, end};
    }
    return std::nullopt;
}

std::vector<std::size_t> IniDocument::EntryLines(const Section& section) const {
    std::vector<std::size_t> entries;
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const auto trimmed = TrimBlanks(lines_[i]);
        if (!trimmed.empty() && !IsComment(trimmed)) {
            entries.push_back(i);
        }
    }
    return entries;
}

std::optional<std::size_t> IniDocument::FindKey(const Section& section,
                                                std::string_view key) const {
    for (const auto index : EntryLines(section)) {
        if (EqualsIgnoringCase(KeyOf(lines_[index]), TrimBlanks(key))) {
            return index;
        }
    }
    return std::nullopt;
}

void IniDocument::ReplaceLine(std::size_t index, std::string text) {
    lines_[index] = std::move(text);
}

void IniDocument::EraseLine(std::size_t index) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

void IniDocument::AppendToSection(const Section& section, std::string text) {
    std::size_t at = section.end;
    while (at > section.header + 1 && TrimBlanks(lines_[at - 1]).empty()) {
        --at;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
}

void IniDocument::AppendSection(std::string_view name, std::string text) {
    lines_.push_back(std::string("[").append(name).append("]"));
    lines_.push_back(std::move(text));
}

std::string IniDocument::KeyOf(std::string_view entryLine) {
    return std::string(TrimBlanks(entryLine.substr(0, entryLine.find('='))));
}

std::string IniDocument::ValueOf(std::string_view entryLine) {
    const auto equals = entryLine.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    std::string_view value = TrimBlanks(entryLine.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string IniDocument::EntryOf(std::string_view entryLine) {
    std::string_view entry = TrimBlanks(entryLine);
    if (!entry.empty() && entry.back() == '=') {
        entry.remove_suffix(1);
    }
    return std::string(TrimBlanks(entry));
}

}  // namespace hostlore
