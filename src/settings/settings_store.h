#pragma once

// settings/: settings.ini, the settings' names and rules, the proxy settings and the URL history;
// no Qt, may include platform/ and net/socks_info.h.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// Raised when the settings file cannot be replaced: "Unable to write to PATH".
class SettingsWriteError : public std::runtime_error {
  public:
    explicit SettingsWriteError(const std::filesystem::path& file);
};

// One value to write: section, key and the text it gets.
struct SettingWrite {
    std::string section;
    std::string key;
    std::string value;
};

// An INI file read and written on every call; nothing is cached, so a value
// written by one part is seen by the next read anywhere. Sections and keys
// match without regard to ASCII letter case. Every write replaces the file
// atomically, so readers on other threads never see half a file.
class SettingsStore {
  public:
    // Values read back are cut to this many characters.
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit SettingsStore(std::filesystem::path file);

    const std::filesystem::path& FileName() const { return file_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Makes the writes in their order and replaces the file once, so either all
    // of them reach the file or, when it cannot be written, none.
    void WriteStrings(const std::vector<SettingWrite>& writes);

    // Hexadecimal after "0x"; the default when missing or not an integer.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    void WriteInteger(std::string_view section, std::string_view key, int value);

    // Keys of the section in file order; empty for a missing section.
    std::vector<std::string> ReadSectionKeys(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void DeleteKey(std::string_view section, std::string_view key);

    // Entries of a list section whose lines are "ENTRY=": each entry is the whole
    // line without its final "=", so entries may themselves contain "=".
    std::vector<std::string> ReadSectionEntries(std::string_view section) const;
    // Appends "ENTRY=" lines at the end of the section, in one write.
    void AppendEntries(std::string_view section, const std::vector<std::string>& entries);
    // Removes the first `count` entry lines of the section, in one write.
    void DeleteLeadingEntries(std::string_view section, std::size_t count);

  private:
    // What `textOf` makes of each entry line of the section, in file order.
    std::vector<std::string> ReadSectionLines(std::string_view section,
                                              std::string (*textOf)(std::string_view line)) const;

    std::filesystem::path file_;
};

}  // namespace hostlore
