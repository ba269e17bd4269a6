#include "query/general_info/findip_thread.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>

#include "support/event_pump.h"
#include "support/fake_resolver.h"
#include "support/fake_views.h"

namespace hostlore {
namespace {

using Addresses = std::vector<std::string>;

class FindIpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resolver->Add("three.example.test",
                      {"three.example.test", {{193, 200, 1, 1}, {12, 1, 1, 1}, {62, 0, 0, 1}}});
        resolver->Add("www.example.test", {"www.example.test", {{192, 0, 2, 10}}});
        resolver->Add("alias.example.test", {"canonical.example.test", {{192, 0, 2, 20}}});
    }

    void Query(const std::string& url) { run.Start<findip_thread>(url, page, resolver); }

    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
    test::RecordingGeneralInfo page;
    test::WorkerRun run;
};

TEST_F(FindIpTest, ListsEveryAddressAndNamesTheRegionOfTheFirst) {
    Query("http://three.example.test");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.addresses, (Addresses{"193.200.1.1", "12.1.1.1", "62.0.0.1"}));
    EXPECT_EQ(page.location, "Bulgaria");
    EXPECT_EQ(page.hostName, "three.example.test");
    EXPECT_EQ(page.missingShown, 0);
}

TEST_F(FindIpTest, TheRegionComesFromTheResolvedAddressesNotFromThePage) {
    page.addresses = {"12.1.1.1"};  // left by a worker of an earlier query
    Query("http://three.example.test");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.location, "Bulgaria");
}

TEST_F(FindIpTest, ShowsTheOfficialNameTheResolverGives) {
    Query("http://alias.example.test/index.html");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.hostName, "canonical.example.test");
    EXPECT_EQ(page.location, "United States");
}

TEST_F(FindIpTest, AsksOnlyForTheHostOfAUrlWithUserPortPathQueryAndFragment) {
    Query("http://user@www.example.test:8080/path?x#y");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(resolver->AskedNames(), Addresses{"www.example.test"});
    EXPECT_EQ(page.addresses, Addresses{"192.0.2.10"});
}

TEST_F(FindIpTest, AnUnknownHostShowsTheMessageAndLeavesTheFieldsEmpty) {
    Query("http://nowhere.example.test");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.missingShown, 1);
    EXPECT_TRUE(page.addresses.empty());
    EXPECT_TRUE(page.location.empty());
    EXPECT_TRUE(page.hostName.empty());
}

TEST_F(FindIpTest, ShowsIpv6AfterIpv4AndTheNameInUnicodeBesideItsAsciiForm) {
    const Ipv6Address v6a = *Ipv6AddressOf("2001:db8::30"), v6b = *Ipv6AddressOf("2001:db8::31");
    resolver->Add("dual.example.test", {"dual.example.test", {{192, 0, 2, 20}}, {v6b, v6a}, true});
    resolver->Add("v6only.example.test", {"v6only.example.test", {}, {v6a}, true});
    resolver->Add("xn--bcher-kva.example", {"xn--bcher-kva.example", {{192, 0, 2, 40}}});
    const struct {
        const char* url;
        Addresses addresses;
        const char* location;
        const char* hostName;
    } cases[] = {
        {"http://dual.example.test/",
         {"192.0.2.20", "2001:db8::31", "2001:db8::30"},
         "United States",
         "dual.example.test"},
        {"http://v6only.example.test/", {"2001:db8::30"}, "IPv6 only", "v6only.example.test"},
        {"http://[2001:db8::10]:8080/", {"2001:db8::10"}, "IPv6 only", "2001:db8::10"},
        {"http://Bücher.example/",
         {"192.0.2.40"},
         "United States",
         "bücher.example (xn--bcher-kva.example)"},
    };
    for (const auto& c : cases) {
        test::RecordingGeneralInfo shown;
        test::WorkerRun each;
        each.Start<findip_thread>(c.url, shown, resolver);
        ASSERT_TRUE(each.WaitForEnd()) << c.url;
        EXPECT_EQ(shown.addresses, c.addresses) << c.url;
        EXPECT_EQ(shown.location, c.location) << c.url;
        EXPECT_EQ(shown.hostName, c.hostName) << c.url;
    }
}

TEST_F(FindIpTest, AnInvalidInternationalNameIsUnknownWithoutAskingTheResolver) {
    Query("http://bü cher.example/");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.missingShown, 1);
    EXPECT_TRUE(resolver->AskedNames().empty());
}

TEST_F(FindIpTest, ASlowResolverNeverHoldsUpTheUserInterfaceThread) {
    auto gate = std::make_shared<test::Gate>();
    resolver->HoldLookupsAt(gate);
    Query("http://www.example.test");
    bool timerRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });
    EXPECT_TRUE(test::PumpUntil([&] { return timerRan; }, 2000));
    EXPECT_TRUE(page.addresses.empty());
    gate->Open();
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.hostName, "www.example.test");
}

}  // namespace
}  // namespace hostlore
