#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hostlore {

// The running executable's full path, read from /proc/self/exe.
std::filesystem::path ExecutablePath();

// The executable's file name cut at its first ".", every letter after the
// first in lower case: the title of the task bar button and of error boxes.
std::string ApplicationTitle(const std::filesystem::path& executable);

// Where a user's configuration lives, as the environment tells it.
struct UserFolders {
    std::string xdgConfigHome{};  // $XDG_CONFIG_HOME, ignored unless absolute
    std::string home{};           // $HOME, or the password entry's home
    std::string xdgCacheHome{};   // $XDG_CACHE_HOME, ignored unless absolute

    static UserFolders FromEnvironment();
    // $XDG_CONFIG_HOME/hostlore, or ~/.config/hostlore.
    std::filesystem::path ConfigFolder() const;
    // $XDG_CACHE_HOME/hostlore, or ~/.cache/hostlore.
    std::filesystem::path CacheFolder() const;
};

// True when a file can be created in the folder: the test the settings file's
// atomic replacement has to pass, and one that root fails on a read-only or
// virtual file system.
bool IsWritableFolder(const std::filesystem::path& folder);

// An installed program sits in PREFIX/bin with its data in PREFIX/share/hostlore.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder);
bool IsInstalledProgram(const std::filesystem::path& programFolder);

// The folder of settings.ini and the position file. A build folder or a
// portable copy keeps them beside the program. An installed program keeps them
// in the user's configuration folder, even where its own folder could be
// written (root, or a prefix in the user's home), and so does a program whose
// folder cannot be written; that folder is created with mode 0700.
std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder,
                                     const UserFolders& user);

// The window position file: the executable's name with its extension replaced
// by ".ini" (appended when it has none), in the settings folder.
std::filesystem::path PositionFile(const std::filesystem::path& settingsFolder,
                                   const std::filesystem::path& executable);

// A module of the program's own: beside it in a build folder or portable copy,
// in the architecture's library folder, PREFIX/lib/TRIPLET/hostlore, once
// installed.
std::filesystem::path ProgramModule(const std::filesystem::path& programFolder,
                                    std::string_view fileName);

// The address of `symbol` in the program's module `fileName` (see
// ProgramModule), which stays loaded to the end; null, and why in `failure`,
// when the module is missing, cannot be loaded or lacks the symbol.
void* ModuleEntry(std::string_view fileName, const char* symbol, std::string& failure);

// The manual's first page: help/index.html beside the program in a build
// folder or portable copy, PREFIX/share/hostlore/help/index.html when installed.
std::filesystem::path HelpManual(const std::filesystem::path& programFolder);

}  // namespace hostlore
