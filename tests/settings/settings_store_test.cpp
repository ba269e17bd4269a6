#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <thread>

#include "platform/ascii_text.h"
#include "support/temporary_folder.h"
#include "support/unprivileged_file_access.h"

namespace hostlore {
namespace {

struct ReadCase {
    const char* name;
    const char* content;  // nullptr: no file at all
    const char* section;
    const char* key;
    std::string expected;
};

TEST(SettingsStoreRead, FollowsTheFileFormat) {
    const ReadCase cases[] = {
        {"missing file", nullptr, "general", "go_to", "DEF"},
        {"missing section", "[other]\r\ngo_to=x\r\n", "general", "go_to", "DEF"},
        {"missing key", "[general]\r\nexecute=true\r\n", "general", "go_to", "DEF"},
        {"plain value", "[general]\r\ngo_to=Whois Info\r\n", "general", "go_to", "Whois Info"},
        {"empty value is not the default", "[general]\r\ngo_to=\r\n", "general", "go_to", ""},
        {"section case", "[GENERAL]\r\ngo_to=x\r\n", "general", "go_to", "x"},
        {"key case", "[url]\r\nsite_info=Mine\r\n", "url", "Site_Info", "Mine"},
        {"blanks around key and value", "[url]\r\n  site_info  =  Mine  \r\n", "url", "site_info",
         "Mine"},
        {"blanks around section name", " [ url ] \r\nk=v\r\n", "url", "k", "v"},
        {"double quotes", "[a]\r\nk=\" quoted \"\r\n", "a", "k", " quoted "},
        {"apostrophes", "[a]\r\nk='x'\r\n", "a", "k", "x"},
        {"unmatched quotes stay", "[a]\r\nk=\"x'\r\n", "a", "k", "\"x'"},
        {"lone quote stays", "[a]\r\nk=\"\r\n", "a", "k", "\""},
        {"LF line ends", "[a]\nk=v\n", "a", "k", "v"},
        {"no final line end", "[a]\r\nk=v", "a", "k", "v"},
        {"value holds =", "[a]\r\nk=x=y\r\n", "a", "k", "x=y"},
        {"first of two keys", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        {"first of two sections", "[a]\r\nk=1\r\n[A]\r\nk=2\r\n", "a", "k", "1"},
        {"key in next section not seen", "[a]\r\n[b]\r\nk=1\r\n", "a", "k", "DEF"},
        {"comment line", "[a]\r\n;k=1\r\nk=2\r\n", "a", "k", "2"},
        {"entries before any section", "k=1\r\n[a]\r\n", "a", "k", "DEF"},
        {"byte order mark", "\xEF\xBB\xBF[a]\r\nk=v\r\n", "a", "k", "v"},
        {"UTF-8 value", "[a]\r\nk=M\xC3\xBCnchen\r\n", "a", "k", "M\xC3\xBCnchen"},
    };
    for (const auto& c : cases) {
        test::TemporaryFolder folder;
        if (c.content != nullptr) {
            folder.Write("settings.ini", c.content);
        }
        SettingsStore store(folder.File("settings.ini"));
        EXPECT_EQ(store.ReadString(c.section, c.key, "DEF"), c.expected) << c.name;
    }
}

TEST(SettingsStoreRead, CutsValuesAt2047Characters) {
    test::TemporaryFolder folder;
    const std::string ascii(3000, 'a');
    std::string umlauts;
    for (int i = 0; i < 2100; ++i) {
        umlauts += "\xC3\xBC";
    }
    folder.Write("settings.ini", "[a]\r\nascii=" + ascii + "\r\numlauts=" + umlauts + "\r\n");
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_EQ(store.ReadString("a", "ascii", ""), std::string(2047, 'a'));
    EXPECT_EQ(store.ReadString("a", "umlauts", ""), umlauts.substr(0, 2047 * 2));
}

struct WriteCase {
    const char* name;
    const char* before;  // nullptr: no file yet
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(SettingsStoreWrite, ChangesOnlyWhatItMeansTo) {
    const WriteCase cases[] = {
        {"creates the file", nullptr, "general", "go_to", "Whois Info",
         "[general]\r\ngo_to=Whois Info\r\n"},
        {"replaces in place", "[a]\r\nx=1\r\nk=old\r\ny=2\r\n", "a", "k", "new",
         "[a]\r\nx=1\r\nk=new\r\ny=2\r\n"},
        {"matches without case", "[URL]\r\nSite_Info=old\r\n", "url", "site_info", "new",
         "[URL]\r\nsite_info=new\r\n"},
        {"appends to its section", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"appends a new section", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        {"keeps comments and odd lines", "; note\r\n[a]\r\n;c\r\nk=1\r\n", "a", "k", "2",
         "; note\r\n[a]\r\n;c\r\nk=2\r\n"},
        {"rewrites LF files with CR LF", "[a]\nk=1\n", "a", "k", "2", "[a]\r\nk=2\r\n"},
        {"keeps a value on its line", "[a]\r\n", "a", "k", "x\r\ny", "[a]\r\nk=x  y\r\n"},
        {"writes an empty value", "[a]\r\nk=1\r\n", "a", "k", "", "[a]\r\nk=\r\n"},
    };
    for (const auto& c : cases) {
        test::TemporaryFolder folder;
        if (c.before != nullptr) {
            folder.Write("settings.ini", c.before);
        }
        SettingsStore store(folder.File("settings.ini"));
        store.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(folder.Read("settings.ini"), c.after) << c.name;
    }
}

TEST(SettingsStoreWrite, GivesANewFileMode0600AndKeepsAnExistingMode) {
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    store.WriteString("proxy", "pwd", "secret");
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("settings.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600);

    ASSERT_EQ(::chmod(folder.File("settings.ini").c_str(), 0640), 0);
    store.WriteString("proxy", "pwd", "other");
    ASSERT_EQ(::stat(folder.File("settings.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
        << "no temporary file is left behind";
}

void ExpectWriteRefused(SettingsStore& store, const std::filesystem::path& file) {
    try {
        store.WriteString("a", "k", "2");
        ADD_FAILURE() << "no failure";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
    }
}

constexpr const char* kUsersSettings =
    "[general]\r\ndefault_url=http://mine.test/\r\n[proxy]\r\nhost=proxy.test\r\n"
    "port=1080\r\npwd=secret\r\n";

TEST(SettingsStoreWrite, KeepsTheOwnerOfTheUsersFileWhenRootWrites) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root writes files of other users";
    }
    test::TemporaryFolder folder;
    folder.Write("settings.ini", kUsersSettings);
    test::GiveToOrdinaryUser(folder.File("settings.ini"));
    SettingsStore store(folder.File("settings.ini"));
    store.WriteString("a", "k", "v");
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("settings.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, test::kOrdinaryUser);
    EXPECT_EQ(info.st_gid, test::kOrdinaryGroup);
}

TEST(SettingsStoreWrite, ReportsAFolderItCannotWriteTo) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini", "[a]\r\nk=1\r\n");
    test::GiveToOrdinaryUser(folder.Path());
    test::GiveToOrdinaryUser(folder.File("settings.ini"));
    std::filesystem::permissions(
        folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    test::AsOrdinaryUser user;
    SettingsStore store(folder.File("settings.ini"));
    ExpectWriteRefused(store, folder.File("settings.ini"));
    EXPECT_EQ(store.ReadString("a", "k", ""), "1");
}

// A file the user may not read (left behind by a run as another user, say)
// is no empty file: writing over it would lose every other setting in it.
TEST(SettingsStoreWrite, LeavesAFileItCannotReadAsItWas) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini", kUsersSettings);
    ASSERT_EQ(::chmod(folder.File("settings.ini").c_str(), 0200), 0);
    test::GiveToOrdinaryUser(folder.Path());
    {
        test::AsOrdinaryUser user;
        SettingsStore store(folder.File("settings.ini"));
        ExpectWriteRefused(store, folder.File("settings.ini"));
        EXPECT_EQ(store.ReadString("general", "default_url", "DEF"), "DEF");
    }
    EXPECT_EQ(folder.Read("settings.ini"), kUsersSettings);
}

// The user's own protection holds against the rename that replaces the file.
TEST(SettingsStoreWrite, LeavesAReadOnlyFileAsItWas) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini", kUsersSettings);
    ASSERT_EQ(::chmod(folder.File("settings.ini").c_str(), 0444), 0);
    test::GiveToOrdinaryUser(folder.Path());
    test::GiveToOrdinaryUser(folder.File("settings.ini"));
    {
        test::AsOrdinaryUser user;
        SettingsStore store(folder.File("settings.ini"));
        ExpectWriteRefused(store, folder.File("settings.ini"));
        EXPECT_EQ(store.ReadString("general", "default_url", "DEF"), "http://mine.test/");
    }
    EXPECT_EQ(folder.Read("settings.ini"), kUsersSettings);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(SettingsStoreWrite, ReportsAPathThatCannotHoldAFile) {
    // Works for root as well: the parent is a file, not a folder.
    test::TemporaryFolder folder;
    folder.Write("plain", "");
    SettingsStore store(folder.File("plain") / "settings.ini");
    ExpectWriteRefused(store, folder.File("plain") / "settings.ini");
}

// A file as odd as hands and other programs leave them: byte-order marks at
// the start and before sections, CR-only, LF and CR LF line ends, blank and
// duplicate sections, stray text and very long lines.
std::string OddFile(std::mt19937& random) {
    static const char* const kPieces[] = {"\xEF\xBB\xBF",
                                          "\xEF\xBB\xBF\xEF\xBB\xBF",
                                          "[a]",
                                          "[A]",
                                          "[]",
                                          "[ general ]",
                                          "[url",
                                          "k=old",
                                          "K = 'old'",
                                          "Site_Info=old",
                                          "x y=old",
                                          "bare",
                                          ";k=comment",
                                          "=no key",
                                          "  ",
                                          "\xEF\xBB\xBF[a]",
                                          "\xEF\xBB\xBFk=old",
                                          "[b]"};
    static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\r\n", ""};
    static const char* const kStarts[] = {"", "\xEF\xBB\xBF", "\xEF\xBB\xBF\xEF\xBB\xBF"};
    std::string file = kStarts[std::uniform_int_distribution(0, 2)(random)];
    const int lines = std::uniform_int_distribution(0, 12)(random);
    for (int i = 0; i < lines; ++i) {
        if (std::uniform_int_distribution(0, 20)(random) == 0) {
            file += "k=" + std::string(5000, 'v');
        } else {
            file += kPieces[std::uniform_int_distribution<std::size_t>(
                0, std::size(kPieces) - 1)(random)];
        }
        file += kEnds[std::uniform_int_distribution<std::size_t>(0, std::size(kEnds) - 1)(random)];
    }
    return file;
}

std::string SomeValue(std::mt19937& random) {
    static constexpr std::string_view kCharacters = "abcXYZ019=;[]#:/. ";
    std::string value(std::uniform_int_distribution(1, 40)(random), 'v');
    for (auto& c : value) {
        c = kCharacters[std::uniform_int_distribution<std::size_t>(0,
                                                                   kCharacters.size() - 2)(random)];
    }
    return value;
}

TEST(SettingsStoreWrite, AWrittenValueReadsBackWhateverTheFileHeldBefore) {
    const char* const sections[] = {"a", "A", "general", "url", "b"};
    const char* const keys[] = {"k", "K", "site_info", "x y", "new"};
    std::mt19937 random(20261208);
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    for (int round = 0; round < 300; ++round) {
        const std::string before = OddFile(random);
        folder.Write("settings.ini", before);
        const char* section = sections[std::uniform_int_distribution(0, 4)(random)];
        const char* key = keys[std::uniform_int_distribution(0, 4)(random)];
        const char* otherKey = keys[std::uniform_int_distribution(0, 4)(random)];
        const std::string value = SomeValue(random);
        const std::string otherValue = SomeValue(random);
        store.WriteString(section, key, value);
        store.WriteString("b", otherKey, otherValue);
        const std::string expected =
            EqualsIgnoringCase(section, "b") && EqualsIgnoringCase(key, otherKey) ? otherValue
                                                                                  : value;
        const std::string read = store.ReadString(section, key, "DEF");
        const std::string other = store.ReadString("b", otherKey, "DEF");
        ASSERT_TRUE(read == expected && other == otherValue)
            << "read " << read.substr(0, 40) << " for " << expected << ", " << other.substr(0, 40)
            << " for " << otherValue
            << "; file before: " << ::testing::PrintToString(before.substr(0, 200));
    }
}

TEST(SettingsStoreWrite, LeavesAFileMarkedReadOnlyAsItIs) {
    // Holds for root too: the mark is the file's mode, not a folder it cannot write.
    test::TemporaryFolder folder;
    folder.Write("settings.ini", "[a]\r\nk=1\r\n");
    std::filesystem::permissions(
        folder.File("settings.ini"),
        std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_THROW(store.WriteString("a", "k", "2"), SettingsWriteError);
    try {
        store.WriteStrings({{"b", "k", "v"}, {"a", "k", "2"}});
        FAIL() << "no failure";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write to " + folder.File("settings.ini").string());
    }
    EXPECT_EQ(folder.Read("settings.ini"), "[a]\r\nk=1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
        << "no temporary file is left behind";
}

std::size_t FilesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Users who keep their settings in a dotfiles folder link to them.
TEST(SettingsStoreWrite, WritesThroughSymbolicLinksAndKeepsThem) {
    const struct {
        const char* name;
        const char* link;
        const char* to;   // relative to the link's folder, or from the test's folder with '/'
        const char* via;  // when set, `to` is a second link, to this
        const char* target;
        bool targetExists;
    } cases[] = {
        {"relative link", "settings.ini", "dots/settings.ini", nullptr, "dots/settings.ini", true},
        {"absolute link", "settings.ini", "/dots/settings.ini", nullptr, "dots/settings.ini", true},
        {"two links", "settings.ini", "via.ini", "dots/settings.ini", "dots/settings.ini", true},
        {"link in a subfolder", "dots/settings.ini", "../real.ini", nullptr, "real.ini", true},
        {"link to no file yet", "settings.ini", "dots/new.ini", nullptr, "dots/new.ini", false},
    };
    for (const auto& c : cases) {
        test::TemporaryFolder folder;
        std::filesystem::create_directory(folder.File("dots"));
        if (c.targetExists) {
            folder.Write(c.target, "[a]\r\nk=1\r\n");
        }
        const auto linkTo = [&](const char* to, const std::string& name) {
            std::filesystem::create_symlink(
                to[0] == '/' ? folder.Path().string() + to : std::string(to), folder.File(name));
        };
        linkTo(c.to, c.link);
        if (c.via != nullptr) {
            linkTo(c.via, c.to);
        }
        SettingsStore(folder.File(c.link)).WriteString("a", "k", "2");
        EXPECT_TRUE(std::filesystem::is_symlink(folder.File(c.link))) << c.name;
        EXPECT_TRUE(c.via == nullptr || std::filesystem::is_symlink(folder.File(c.to))) << c.name;
        EXPECT_EQ(folder.Read(c.target), "[a]\r\nk=2\r\n") << c.name;
        const std::size_t links = c.via == nullptr ? 1 : 2;
        EXPECT_EQ(FilesIn(folder.File("dots")) + FilesIn(folder.Path()), links + 2)
            << c.name << ": no temporary file is left behind";
    }
}

TEST(SettingsStoreWrite, WritesABatchInOrderWithOneReplacement) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini", "[general]\r\ngo_to=Whois Info\r\n\r\n[url]\r\nx=1\r\n");
    SettingsStore store(folder.File("settings.ini"));
    store.WriteStrings({{"general", "default_url", "http://a.example/"},
                        {"GENERAL", "Go_To", "Site Info"},
                        {"proxy", "use", "false"},
                        {"proxy", "host", ""},
                        {"url", "x", "2"},
                        {"proxy", "use", "true"}});
    EXPECT_EQ(folder.Read("settings.ini"),
              "[general]\r\nGo_To=Site Info\r\ndefault_url=http://a.example/\r\n\r\n"
              "[url]\r\nx=2\r\n[proxy]\r\nuse=true\r\nhost=\r\n");

    store.WriteStrings({});
    EXPECT_EQ(store.ReadString("proxy", "use", ""), "true");
}

TEST(SettingsStore, ListsTestsAndDeletesKeys) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini",
                 "[a]\r\nOne=1\r\n;skip\r\n\r\ntwo = 2\r\nbare\r\n[b]\r\nthree=3\r\n");
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_EQ(store.ReadSectionKeys("A"), (std::vector<std::string>{"One", "two", "bare"}));
    EXPECT_TRUE(store.ReadSectionKeys("missing").empty());
    EXPECT_TRUE(store.ValueExists("a", "ONE"));
    EXPECT_FALSE(store.ValueExists("a", "three"));

    store.DeleteKey("a", "TWO");
    EXPECT_EQ(folder.Read("settings.ini"),
              "[a]\r\nOne=1\r\n;skip\r\n\r\nbare\r\n[b]\r\nthree=3\r\n");
    store.DeleteKey("a", "missing");
    store.DeleteKey("missing", "k");
    EXPECT_EQ(store.ReadSectionKeys("a"), (std::vector<std::string>{"One", "bare"}));
}

TEST(SettingsStore, ReadsAndWritesIntegers) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini",
                 "[p]\r\ndec=120\r\nhex=0x1F\r\nbare_hex=0x\r\ntext=abc\r\nblank= 7\r\n");
    SettingsStore store(folder.File("settings.ini"));
    const std::pair<const char*, int> cases[] = {{"dec", 120}, {"hex", 31},  {"bare_hex", -1},
                                                 {"text", -1}, {"blank", 7}, {"missing", -1}};
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(store.ReadInteger("p", key, -1), expected) << key;
    }
    store.WriteInteger("main Position", "Left", -20);
    EXPECT_EQ(store.ReadString("main position", "left", ""), "-20");
    EXPECT_EQ(store.ReadInteger("main Position", "Left", 0), -20);
}

TEST(SettingsStore, KeepsNothingInMemory) {
    test::TemporaryFolder folder;
    SettingsStore writer(folder.File("settings.ini"));
    const SettingsStore reader(folder.File("settings.ini"));
    EXPECT_EQ(reader.ReadString("a", "k", "none"), "none");
    writer.WriteString("a", "k", "1");
    EXPECT_EQ(reader.ReadString("a", "k", "none"), "1");
    folder.Write("settings.ini", "[a]\nk=edited by hand\n");
    EXPECT_EQ(reader.ReadString("a", "k", "none"), "edited by hand");
}

TEST(SettingsStore, ReadersOnOtherThreadsNeverSeeHalfAFile) {
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    const std::string first(2000, 'x');
    const std::string second(2000, 'y');
    store.WriteString("a", "k", first);
    for (int i = 0; i < 200; ++i) {
        store.WriteString("filler", "key" + std::to_string(i), std::string(100, 'f'));
    }
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
        readers.emplace_back([&] {
            const SettingsStore reader(folder.File("settings.ini"));
            while (!stop) {
                const auto value = reader.ReadString("a", "k", "missing");
                if (value != first && value != second) {
                    ++torn;
                }
                ++reads;
            }
        });
    }
    for (int i = 0; i < 100; ++i) {
        store.WriteString("a", "k", i % 2 == 0 ? second : first);
    }
    stop = true;
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace hostlore
