#include "platform/program_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

TEST(ApplicationTitle, CutsAtTheFirstDotAndLowersAllButTheFirstLetter) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/hostlore", "hostlore"},
        {"/opt/HOSTLORE.EXE", "Hostlore"},
        {"/x/HostLore.v2.bin", "Hostlore"},
        {"/x/.hidden", ""},
        {"/x/", ""},
    };
    for (const auto& [path, title] : cases) {
        EXPECT_EQ(ApplicationTitle(path), title) << path;
    }
}

TEST(ExecutablePath, IsTheRunningExecutable) {
    const auto executable = ExecutablePath();
    ASSERT_TRUE(std::filesystem::exists(executable));
    EXPECT_EQ(executable.filename(), "core_tests");
}

// A program laid out as "cmake --install" or the package leaves it.
struct InstalledTree {
    test::TemporaryFolder root;
    std::filesystem::path bin = root.Path() / "usr" / "bin";
    InstalledTree() {
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(root.Path() / "usr" / "share" / "hostlore" / "help");
    }
};

std::filesystem::perms ModeOf(const std::filesystem::path& folder) {
    return std::filesystem::status(folder).permissions() & std::filesystem::perms::all;
}

TEST(IsWritableFolder, TellsFoldersThatTakeANewFileAndLeavesNoTrace) {
    test::TemporaryFolder folder;
    EXPECT_TRUE(IsWritableFolder(folder.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    EXPECT_FALSE(IsWritableFolder(folder.Path() / "missing"));
    // Not even root can create a file here.
    EXPECT_FALSE(IsWritableFolder("/proc"));

    std::filesystem::permissions(
        folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    // Root writes through missing write bits; everyone else is refused.
    EXPECT_EQ(IsWritableFolder(folder.Path()), ::geteuid() == 0);
}

TEST(UserFolders, TheCacheFolderFollowsXdgCacheHomeWhenItIsAbsolute) {
    const std::pair<const char*, const char*> cases[] = {
        {"/var/cache/me", "/var/cache/me/hostlore"},
        {"", "/home/me/.cache/hostlore"},
        {"relative/cache", "/home/me/.cache/hostlore"},
    };
    for (const auto& [xdgCacheHome, folder] : cases) {
        EXPECT_EQ(UserFolders({"", "/home/me", xdgCacheHome}).CacheFolder(), folder)
            << xdgCacheHome;
    }
}

TEST(SettingsFolder, ABuildFolderOrPortableCopyKeepsItsSettingsBesideTheProgram) {
    test::TemporaryFolder program;
    test::TemporaryFolder config;
    const UserFolders user{.xdgConfigHome = config.Path().string(), .home = "/nonexistent"};
    EXPECT_EQ(SettingsFolder(program.Path(), user), program.Path());
    // A folder named bin without installed data beside it is a portable copy.
    std::filesystem::create_directory(program.File("bin"));
    EXPECT_EQ(SettingsFolder(program.File("bin"), user), program.File("bin"));
    EXPECT_TRUE(std::filesystem::is_empty(config.Path()));
}

TEST(SettingsFolder, AnInstalledProgramUsesAPrivateFolderInTheUsersConfiguration) {
    InstalledTree installed;
    test::TemporaryFolder config;
    // The bin folder is writable here, as it is for root or a prefix in the
    // user's home; settings still must not land beside the program.
    ASSERT_TRUE(IsWritableFolder(installed.bin));
    const auto folder = SettingsFolder(
        installed.bin, {.xdgConfigHome = config.Path().string(), .home = "/nonexistent"});
    EXPECT_EQ(folder, config.File("hostlore"));
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ModeOf(folder), std::filesystem::perms::owner_all);
}

TEST(SettingsFolder, AProgramFolderThatCannotBeWrittenFallsBackToHomeConfig) {
    test::TemporaryFolder home;
    const ::mode_t oldMask = ::umask(0022);
    // Relative or empty XDG_CONFIG_HOME does not count; ~/.config is made too.
    for (const char* xdg : {"", "relative/config"}) {
        const auto folder =
            SettingsFolder("/proc", {.xdgConfigHome = xdg, .home = home.Path().string()});
        EXPECT_EQ(folder, home.Path() / ".config" / "hostlore") << xdg;
    }
    ::umask(oldMask);
    EXPECT_EQ(ModeOf(home.Path() / ".config"), std::filesystem::perms::owner_all);
    EXPECT_EQ(ModeOf(home.Path() / ".config" / "hostlore"), std::filesystem::perms::owner_all);
}

TEST(SettingsFolder, AnExistingConfigurationFolderKeepsItsMode) {
    InstalledTree installed;
    test::TemporaryFolder config;
    std::filesystem::create_directory(config.File("hostlore"));
    std::filesystem::permissions(config.File("hostlore"), std::filesystem::perms::owner_all |
                                                              std::filesystem::perms::group_read |
                                                              std::filesystem::perms::group_exec);
    config.Write("hostlore/settings.ini", "[general]\r\n");
    EXPECT_EQ(SettingsFolder(installed.bin, {.xdgConfigHome = config.Path().string(), .home = ""}),
              config.File("hostlore"));
    EXPECT_EQ(ModeOf(config.File("hostlore")) & std::filesystem::perms::group_read,
              std::filesystem::perms::group_read);
    EXPECT_EQ(config.Read("hostlore/settings.ini"), "[general]\r\n");
}

TEST(PositionFile, IsTheExecutablesNameWithIniInTheSettingsFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/hostlore", "/home/u/.config/hostlore/hostlore.ini"},
        {"/opt/Hostlore.exe", "/home/u/.config/hostlore/Hostlore.ini"},
        {"/opt/host.lore.bin", "/home/u/.config/hostlore/host.lore.ini"},
    };
    for (const auto& [executable, position] : cases) {
        EXPECT_EQ(PositionFile("/home/u/.config/hostlore", executable), position) << executable;
    }
}

TEST(HelpManual, BesideTheProgramUnlessInstalled) {
    test::TemporaryFolder build;
    EXPECT_EQ(HelpManual(build.Path()), build.Path() / "help" / "index.html");

    InstalledTree installed;
    EXPECT_EQ(HelpManual(installed.bin),
              installed.root.Path() / "usr" / "share" / "hostlore" / "help" / "index.html");
}

}  // namespace
}  // namespace hostlore
