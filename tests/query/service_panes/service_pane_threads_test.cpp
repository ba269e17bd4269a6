#include "query/service_panes/service_pane_threads.h"

#include <gtest/gtest.h>

#include "support/fake_views.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

const char* const kDefaultSiteInfo = "http://www.alexa.com/data/details?url=";
const char* const kDefaultWhoisSource = "http://whois.domaintools.com/";
const char* const kDefaultBackwardLinks = "http://www.google.com/search?hl=&ie=&oe=&q=link:";
const char* const kDefaultSimilarPages = "http://www.google.com/search?hl=&lr=&ie=&oe=&q=related:";

// Where each of the four panes went for one query; "-" for a pane left alone.
struct Visits {
    std::string siteInfo, whoisSource, backwardLinks, similarPages;
};

class ServicePaneThreadsTest : public ::testing::Test {
  protected:
    Visits Query(const std::string& settings, const std::string& url) {
        folder.Write("settings.ini", settings);
        const SettingsStore store(folder.File("settings.ini"));
        std::array<test::RecordingPane, 4> panes;
        RunToEnd<alexa_thread>(url, panes[0], store);
        RunToEnd<whois_source_thread>(url, panes[1], store);
        RunToEnd<backward_links_thread>(url, panes[2], store);
        RunToEnd<similar_pages_thread>(url, panes[3], store);
        return {Visited(panes[0]), Visited(panes[1]), Visited(panes[2]), Visited(panes[3])};
    }

  private:
    template <class Worker>
    static void RunToEnd(const std::string& url, test::RecordingPane& pane,
                         const SettingsStore& store) {
        test::WorkerRun run;
        run.Start<Worker>(url, pane, store);
        ASSERT_TRUE(run.WaitForEnd());
    }

    static std::string Visited(const test::RecordingPane& pane) {
        EXPECT_LE(pane.visited.size(), 1U);
        return pane.visited.empty() ? "-" : pane.visited.front();
    }

    test::TemporaryFolder folder;
};

TEST_F(ServicePaneThreadsTest, WithoutUrlKeysEachPaneGoesToItsBuiltInService) {
    const Visits visits = Query("[general]\r\nexecute=false\r\n", "http://www.example.test/a/b");
    EXPECT_EQ(visits.siteInfo, std::string(kDefaultSiteInfo) + "http://www.example.test/a/b");
    EXPECT_EQ(visits.whoisSource, std::string(kDefaultWhoisSource) + "example.test");
    EXPECT_EQ(visits.backwardLinks,
              std::string(kDefaultBackwardLinks) + "http://www.example.test/a/b");
    EXPECT_EQ(visits.similarPages,
              std::string(kDefaultSimilarPages) + "http://www.example.test/a/b");
}

TEST_F(ServicePaneThreadsTest, AnInternationalHostGoesInItsAsciiForm) {
    const Visits visits =
        Query("[general]\r\nexecute=false\r\n", "http://www.B\u00fccher.example/a");
    EXPECT_EQ(visits.siteInfo,
              std::string(kDefaultSiteInfo) + "http://www.xn--bcher-kva.example/a");
    EXPECT_EQ(visits.whoisSource, std::string(kDefaultWhoisSource) + "xn--bcher-kva.example");
}

TEST_F(ServicePaneThreadsTest, ConfiguredPrefixesTakeThePartUnchanged) {
    const std::string settings =
        "[url]\r\n"
        "Site_Info_url=http://info.test/?u=\r\n"
        "whois_source_url=http://who.test/lookup/\r\n"  // the options dialog writes lower case
        "BACKWARD_LINKS_URL=http://links.test/q=\r\n"
        "Similar_Pages_url=http://like.test\r\n";
    struct Case {
        const char* url;
        Visits expected;
    };
    const Case cases[] = {
        // Four labels: the last two go to Whois Source, straight after the prefix.
        {"http://a.b.example.test/x",
         {"http://info.test/?u=http://a.b.example.test/x", "http://who.test/lookup/example.test",
          "http://links.test/q=http://a.b.example.test/x",
          "http://like.testhttp://a.b.example.test/x"}},
        // Nothing is escaped on the way.
        {"http://two.test/a b?c=d&e=%41#f",
         {"http://info.test/?u=http://two.test/a b?c=d&e=%41#f", "http://who.test/lookup/two.test",
          "http://links.test/q=http://two.test/a b?c=d&e=%41#f",
          "http://like.testhttp://two.test/a b?c=d&e=%41#f"}},
        // An empty host part leaves only Whois Source where it is.
        {"http:///path",
         {"http://info.test/?u=http:///path", "-", "http://links.test/q=http:///path",
          "http://like.testhttp:///path"}},
    };
    for (const auto& c : cases) {
        const Visits visits = Query(settings, c.url);
        EXPECT_EQ(visits.siteInfo, c.expected.siteInfo) << c.url;
        EXPECT_EQ(visits.whoisSource, c.expected.whoisSource) << c.url;
        EXPECT_EQ(visits.backwardLinks, c.expected.backwardLinks) << c.url;
        EXPECT_EQ(visits.similarPages, c.expected.similarPages) << c.url;
    }
}

TEST_F(ServicePaneThreadsTest, AnEmptyConfiguredValueFallsBackToTheBuiltInService) {
    const Visits visits = Query(
        "[url]\r\nSite_Info_url=\r\nWhois_Source_url=\r\nBackward_Links_url=\r\n"
        "Similar_Pages_url=\r\n",
        "http://www.example.test/");
    EXPECT_EQ(visits.siteInfo, std::string(kDefaultSiteInfo) + "http://www.example.test/");
    EXPECT_EQ(visits.whoisSource, std::string(kDefaultWhoisSource) + "example.test");
    EXPECT_EQ(visits.backwardLinks,
              std::string(kDefaultBackwardLinks) + "http://www.example.test/");
    EXPECT_EQ(visits.similarPages, std::string(kDefaultSimilarPages) + "http://www.example.test/");
}

}  // namespace
}  // namespace hostlore
