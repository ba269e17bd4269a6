#include "platform/program_files.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace hostlore {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string PasswordEntryHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return "";
    }
    return found->pw_dir;
}

// Creates the folder and any missing parent with mode 0700, whatever the
// umask; folders that exist already keep their mode. Failure is left for the
// first write of the settings file to report.
void CreatePrivateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return;
    }
    CreatePrivateFolders(folder.parent_path());
    if (::mkdir(folder.c_str(), 0700) == 0) {
        ::chmod(folder.c_str(), 0700);
    }
}

// The program's folder below an XDG base folder, or, when that is not an
// absolute path, below the default one in the home folder.
std::filesystem::path HostloreFolder(const std::string& xdg, const std::string& home,
                                     const char* defaultBase) {
    const std::filesystem::path base(xdg);
    return (base.is_absolute() ? base : std::filesystem::path(home) / defaultBase) / "hostlore";
}

}  // namespace

std::filesystem::path ExecutablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

std::string ApplicationTitle(const std::filesystem::path& executable) {
    std::string name = executable.filename().string();
    name = name.substr(0, name.find('.'));
    if (!name.empty()) {
        std::transform(name.begin() + 1, name.end(), name.begin() + 1,
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return name;
}

UserFolders UserFolders::FromEnvironment() {
    UserFolders user;
    user.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    user.home = Environment("HOME");
    user.xdgCacheHome = Environment("XDG_CACHE_HOME");
    if (user.home.empty()) {
        user.home = PasswordEntryHome();
    }
    return user;
}

std::filesystem::path UserFolders::ConfigFolder() const {
    return HostloreFolder(xdgConfigHome, home, ".config");
}

std::filesystem::path UserFolders::CacheFolder() const {
    return HostloreFolder(xdgCacheHome, home, ".cache");
}

bool IsWritableFolder(const std::filesystem::path& folder) {
    std::string probe = (folder / ".hostlore-write-test-XXXXXX").string();
    const int descriptor = ::mkstemp(probe.data());
    if (descriptor < 0) {
        return false;
    }
    ::close(descriptor);
    ::unlink(probe.c_str());
    return true;
}

std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder) {
    return (programFolder.parent_path() / "share" / "hostlore").lexically_normal();
}

bool IsInstalledProgram(const std::filesystem::path& programFolder) {
    std::error_code error;
    return programFolder.filename() == "bin" &&
           std::filesystem::is_directory(InstalledDataFolder(programFolder), error);
}

std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder,
                                     const UserFolders& user) {
    if (!IsInstalledProgram(programFolder) && IsWritableFolder(programFolder)) {
        return programFolder;
    }
    auto folder = user.ConfigFolder();
    CreatePrivateFolders(folder);
    return folder;
}

std::filesystem::path PositionFile(const std::filesystem::path& settingsFolder,
                                   const std::filesystem::path& executable) {
    return settingsFolder / executable.filename().replace_extension(".ini");
}

std::filesystem::path HelpManual(const std::filesystem::path& programFolder) {
    const auto helpFolder = IsInstalledProgram(programFolder)
                                ? InstalledDataFolder(programFolder) / "help"
                                : programFolder / "help";
    return helpFolder / "index.html";
}

std::filesystem::path ProgramModule(const std::filesystem::path& programFolder,
                                    std::string_view fileName) {
    const std::filesystem::path beside = programFolder / fileName;
    if (std::filesystem::exists(beside)) {
        return beside;
    }
    return programFolder.parent_path() / HOSTLORE_MODULE_FOLDER / fileName;
}

void* ModuleEntry(std::string_view fileName, const char* symbol, std::string& failure) {
    const std::filesystem::path file = ProgramModule(ExecutablePath().parent_path(), fileName);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        failure = std::string(fileName) + " was not found.";
        return nullptr;
    }
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        failure = std::string(fileName) + " cannot be loaded: " + ::dlerror();
        return nullptr;
    }
    void* entry = ::dlsym(handle, symbol);
    if (entry == nullptr) {
        failure = file.string() + " has no entry.";
    }
    return entry;
}

}  // namespace hostlore
