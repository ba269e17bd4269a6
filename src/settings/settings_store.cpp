#include "settings/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <mutex>

#include "platform/file_text.h"
#include "platform/integer_text.h"
#include "settings/ini_document.h"

namespace hostlore {

namespace {

// Writes come from the user interface thread only; the lock keeps two
// read-modify-write cycles of this process from losing each other's change.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

IniDocument LoadDocument(const std::filesystem::path& file) {
    return IniDocument::Parse(ReadWholeFile(file));
}

// The file as the user may change it. Only a missing file counts as empty: one
// that cannot be read or written must not be replaced by what little a write
// knows, nor have the user's protection undone by the rename.
IniDocument LoadForChange(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return {};
        }
        throw SettingsWriteError(file);
    }
    std::string content;
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof(buffer))) != 0) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ::close(fd);
            throw SettingsWriteError(file);
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return IniDocument::Parse(content);
}

void Update(const std::filesystem::path& file, const std::function<bool(IniDocument&)>& change) {
    std::lock_guard lock(WriteMutex());
    IniDocument document = LoadForChange(file);
    if (change(document)) {
        // A new file gets mode 0600: it may hold a proxy password.
        if (!ReplaceFileContent(file, document.Serialize(), 0600)) {
            throw SettingsWriteError(file);
        }
    }
}

std::string CutToMaxLength(std::string value) {
    // Count characters, not bytes, and never split a UTF-8 sequence.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if ((byte & 0xC0) != 0x80 && ++characters > SettingsStore::kMaxValueLength) {
            value.resize(i);
            break;
        }
    }
    return value;
}

// A line break in a key or value would split its line in two.
std::string SingleLine(std::string_view text) {
    std::string line(text);
    for (auto& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    return SingleLine(key) + "=" + SingleLine(value);
}

// An existing key's line is replaced in place; a new key goes to the end of
// its section, a new section to the end of the file.
void SetEntry(IniDocument& document, std::string_view section, std::string_view key,
              std::string_view value) {
    const auto found = document.FindSection(section);
    if (!found) {
        document.AppendSection(SingleLine(section), EntryLine(key, value));
    } else if (const auto line = document.FindKey(*found, key)) {
        document.ReplaceLine(*line, EntryLine(key, value));
    } else {
        document.AppendToSection(*found, EntryLine(key, value));
    }
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::filesystem::path& file)
    : std::runtime_error("Unable to write to " + file.string()) {}

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    const IniDocument document = LoadDocument(file_);
    if (const auto found = document.FindSection(section)) {
        if (const auto line = document.FindKey(*found, key)) {
            return CutToMaxLength(IniDocument::ValueOf(document.Line(*line)));
        }
    }
    return std::string(defaultValue);
}

void SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    Update(file_, [&](IniDocument& document) {
        SetEntry(document, section, key, value);
        return true;
    });
}

void SettingsStore::WriteStrings(const std::vector<SettingWrite>& writes) {
    if (writes.empty()) {
        return;
    }
    Update(file_, [&](IniDocument& document) {
        for (const auto& write : writes) {
            SetEntry(document, write.section, write.key, write.value);
        }
        return true;
    });
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key,
                               int defaultValue) const {
    const std::string text = ReadString(section, key, "");
    return ParseInteger(text).value_or(defaultValue);
}

void SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::vector<std::string> SettingsStore::ReadSectionLines(
    std::string_view section, std::string (*textOf)(std::string_view line)) const {
    std::vector<std::string> texts;
    const IniDocument document = LoadDocument(file_);
    if (const auto found = document.FindSection(section)) {
        for (const auto index : document.EntryLines(*found)) {
            texts.push_back(textOf(document.Line(index)));
        }
    }
    return texts;
}

std::vector<std::string> SettingsStore::ReadSectionKeys(std::string_view section) const {
    return ReadSectionLines(section, &IniDocument::KeyOf);
}

bool SettingsStore::ValueExists(std::string_view section, std::string_view key) const {
    const IniDocument document = LoadDocument(file_);
    const auto found = document.FindSection(section);
    return found && document.FindKey(*found, key).has_value();
}

void SettingsStore::DeleteKey(std::string_view section, std::string_view key) {
    Update(file_, [&](IniDocument& document) {
        const auto found = document.FindSection(section);
        const auto line = found ? document.FindKey(*found, key) : std::nullopt;
        if (line) {
            document.EraseLine(*line);
        }
        return line.has_value();
    });
}

std::vector<std::string> SettingsStore::ReadSectionEntries(std::string_view section) const {
    return ReadSectionLines(section, &IniDocument::EntryOf);
}

void SettingsStore::AppendEntries(std::string_view section,
                                  const std::vector<std::string>& entries) {
    if (entries.empty()) {
        return;
    }
    Update(file_, [&](IniDocument& document) {
        auto first = entries.begin();
        if (!document.FindSection(section)) {
            document.AppendSection(SingleLine(section), EntryLine(*first, ""));
            ++first;
        }
        for (auto entry = first; entry != entries.end(); ++entry) {
            document.AppendToSection(*document.FindSection(section), EntryLine(*entry, ""));
        }
        return true;
    });
}

void SettingsStore::DeleteLeadingEntries(std::string_view section, std::size_t count) {
    Update(file_, [&](IniDocument& document) {
        const auto found = document.FindSection(section);
        if (!found || count == 0) {
            return false;
        }
        auto lines = document.EntryLines(*found);
        lines.resize(std::min(count, lines.size()));
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            document.EraseLine(*line);
        }
        return !lines.empty();
    });
}

}  // namespace hostlore
