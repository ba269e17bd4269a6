#include "settings/url_history.h"

#include <gtest/gtest.h>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

std::vector<std::string> Urls(int first, int count) {
    std::vector<std::string> urls;
    for (int i = first; i < first + count; ++i) {
        urls.push_back("http://site" + std::to_string(i) + ".test/");
    }
    return urls;
}

class UrlHistoryTest : public ::testing::Test {
  protected:
    test::TemporaryFolder folder;
    SettingsStore store{folder.File("settings.ini")};
};

TEST_F(UrlHistoryTest, AddsNewUrlsInListOrderAndSkipsKnownOnesWhateverTheirCase) {
    SaveHistory(store, {"http://a.test/", "http://b.test/"});
    SaveHistory(store, {"HTTP://A.TEST/", "http://c.test/", "http://b.test/"});
    EXPECT_EQ(folder.Read("settings.ini"),
              "[last_url]\r\nhttp://a.test/=\r\nhttp://b.test/=\r\nhttp://c.test/=\r\n");
}

TEST_F(UrlHistoryTest, KeepsTheFiftyNewestAndShowsTheEightNewestFirst) {
    SaveHistory(store, Urls(0, 53));
    const auto kept = store.ReadSectionEntries("last_url");
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept.front(), "http://site3.test/");
    EXPECT_EQ(kept.back(), "http://site52.test/");

    const auto shown = LoadHistory(store);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown.front(), "http://site52.test/");
    EXPECT_EQ(shown.back(), "http://site45.test/");
}

TEST_F(UrlHistoryTest, TwentyStoredAndTwoNewGiveTwentyTwoInOrderOfFirstUse) {
    SaveHistory(store, Urls(0, 20));
    auto list = LoadHistory(store);
    list.emplace_back("http://new1.test/");
    list.emplace_back("http://new2.test/");
    SaveHistory(store, list);
    const auto kept = store.ReadSectionEntries("last_url");
    ASSERT_EQ(kept.size(), 22u);
    EXPECT_EQ(kept[19], "http://site19.test/");
    EXPECT_EQ(kept[20], "http://new1.test/");
    EXPECT_EQ(kept[21], "http://new2.test/");
}

TEST_F(UrlHistoryTest, UrlsHoldingEqualsSignsComeBackUnchanged) {
    const std::vector<std::string> urls = {"http://a.test/?q=1&r=2",
                                           "http://b.test/?x=", "http://c.test/="};
    SaveHistory(store, urls);
    SaveHistory(store, {"HTTP://A.TEST/?Q=1&R=2"});
    EXPECT_EQ(store.ReadSectionEntries("last_url"), urls);
    EXPECT_EQ(LoadHistory(store), (std::vector<std::string>{"http://c.test/=", "http://b.test/?x=",
                                                            "http://a.test/?q=1&r=2"}));
}

TEST_F(UrlHistoryTest, LongUrlsNeverHideTheNewestEntries) {
    std::vector<std::string> urls;
    for (int i = 0; i < 50; ++i) {
        urls.push_back("http://long" + std::to_string(i) + ".test/" + std::string(1500, 'p'));
    }
    SaveHistory(store, urls);
    const auto shown = LoadHistory(store);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown.front(), urls.back());
}

TEST_F(UrlHistoryTest, AnEmptyListWritesNothing) {
    SaveHistory(store, {});
    EXPECT_FALSE(std::filesystem::exists(folder.File("settings.ini")));
    EXPECT_TRUE(LoadHistory(store).empty());
}

TEST_F(UrlHistoryTest, OtherSectionsStayAsTheyWere) {
    folder.Write("settings.ini",
                 "[general]\r\ngo_to=Whois Info\r\n[last_url]\r\nhttp://old.test/=\r\n");
    SaveHistory(store, {"http://new.test/"});
    EXPECT_EQ(folder.Read("settings.ini"),
              "[general]\r\ngo_to=Whois Info\r\n[last_url]\r\nhttp://old.test/=\r\n"
              "http://new.test/=\r\n");
}

}  // namespace
}  // namespace hostlore
