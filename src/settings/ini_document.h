#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// The lines of an INI file, kept as they were read so that a write changes
// only the lines it means to change.
class IniDocument {
  public:
    struct Section {
        std::size_t header;  // index of the "[name]" line
        std::size_t end;     // index just past the section's last line
    };

    static IniDocument Parse(std::string_view content);
    std::string Serialize() const;  // CR LF after every line

    std::optional<Section> FindSection(std::string_view name) const;
    // Indices of the section's entry lines, in file order (no blanks, no comments).
    std::vector<std::size_t> EntryLines(const Section& section) const;
    std::optional<std::size_t> FindKey(const Section& section, std::string_view key) const;

    const std::string& Line(std::size_t index) const { return lines_[index]; }
    void ReplaceLine(std::size_t index, std::string text);
    void EraseLine(std::size_t index);
    // Inserts after the section's last entry, ahead of any blank lines that close it.
    void AppendToSection(const Section& section, std::string text);
    void AppendSection(std::string_view name, std::string text);

    static std::string KeyOf(std::string_view entryLine);
    static std::string ValueOf(std::string_view entryLine);
    // The whole line without its final "=", for list sections.
    static std::string EntryOf(std::string_view entryLine);

  private:
    std::vector<std::string> lines_;
};

}  // namespace hostlore
