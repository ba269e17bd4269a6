// settings.ini as the user or another program may have left it, then one
// value written by the real store: the value reads back as written, no other
// setting changes, and the file the store writes is one it reads unchanged.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "fuzz_support.h"
#include "platform/file_text.h"
#include "settings/ini_document.h"
#include "settings/setting_names.h"
#include "settings/settings_store.h"

namespace {

using Name = std::pair<std::string_view, std::string_view>;

// Settings the program writes, in several sections.
constexpr std::array<Name, 8> kNames = {{
    {hostlore::setting::kGeneral, hostlore::setting::kDefaultUrl},
    {hostlore::setting::kGeneral, hostlore::setting::kNeighbourCount},
    {hostlore::setting::kWhois, hostlore::setting::kWhoisServer},
    {hostlore::setting::kUrl, hostlore::setting::kSiteInfoUrl},
    {hostlore::setting::kProxy, hostlore::setting::kProxyHost},
    {hostlore::setting::kProxy, hostlore::setting::kProxyUserId},
    {hostlore::setting::kProxy, hostlore::setting::kProxyPassword},
    {hostlore::setting::kProxy, hostlore::setting::kProxyPort},
}};

constexpr std::string_view kMissing = "\x01missing";

// One folder per process, on tmpfs when TMPDIR points there: every write syncs.
const std::filesystem::path& SettingsFile() {
    static const std::filesystem::path file = [] {
        const char* root = std::getenv("TMPDIR");
        std::string folder = std::string(root != nullptr && *root != '\0' ? root : "/tmp") +
                             "/hostlore-settings-fuzz-XXXXXX";
        hostlore::fuzz::Require(::mkdtemp(folder.data()) != nullptr, "a temporary folder");
        return std::filesystem::path(folder) / "settings.ini";
    }();
    return file;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A value that the INI form keeps as it is: one line, no blanks at its ends
// (they separate it from "="), not wrapped in quotes, and not too long.
bool KeepsItsForm(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos ||
        value.size() > hostlore::SettingsStore::kMaxValueLength) {
        return false;
    }
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) {
        return false;
    }
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !quoted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    const std::size_t written = input.TakeByte() % kNames.size();
    const std::string value = input.TakeLine();
    {
        std::ofstream file(SettingsFile(), std::ios::binary | std::ios::trunc);
        file << input.Rest();
    }

    SettingsStore store(SettingsFile());
    std::array<std::string, kNames.size()> before;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        before[i] = store.ReadString(kNames[i].first, kNames[i].second, kMissing);
    }
    store.WriteString(kNames[written].first, kNames[written].second, value);
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        const std::string after = store.ReadString(kNames[i].first, kNames[i].second, kMissing);
        if (i != written) {
            fuzz::Require(after == before[i], "a write leaves the other settings as they were");
        } else if (KeepsItsForm(value)) {
            fuzz::Require(after == value, "a written value reads back as written");
        }
    }
    const std::string content = ReadWholeFile(SettingsFile());
    fuzz::Require(IniDocument::Parse(content).Serialize() == content,
                  "the written file reads and writes back unchanged");
    return 0;
}
