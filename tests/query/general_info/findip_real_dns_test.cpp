#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "dns/test_dns.h"
#include "region/whereis.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

// The General Info page against the real resolver and the test DNS server.
class FindIpRealDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        if (IsSkipped()) {
            return;
        }
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        auto services = program.Services();
        services.resolver = std::make_shared<SystemResolver>();
        window = std::make_unique<Tmain>(services);
    }

    void Query(const QString& url) {
        test::Ui(*window).url_edit->setEditText(url);
        window->goClick(test::Ui(*window).go);
    }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(FindIpRealDnsTest, ListsAllAddressesWithTheRegionOfTheFirst) {
    Query("three.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return !test::Ui(*window).Edit4->text().isEmpty(); }));
    const QStringList lines = test::Ui(*window).Memo1->toPlainText().split('\n');
    QStringList sorted = lines;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"12.1.1.1", "193.200.1.1", "62.0.0.1"}));
    // Each of the three lies in a block of its own region.
    EXPECT_EQ(test::Ui(*window).Edit1->text().toStdString(),
              region_of_address(lines[0].toStdString()));
    EXPECT_EQ(test::Ui(*window).Edit4->text(), "three.example.test");
}

TEST_F(FindIpRealDnsTest, ShowsTheCanonicalNameOfAnAlias) {
    Query("alias.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return !test::Ui(*window).Edit4->text().isEmpty(); }));
    EXPECT_EQ(test::Ui(*window).Edit4->text(), "www.example.test");
    EXPECT_EQ(test::Ui(*window).Memo1->toPlainText(), "192.0.2.10");
    EXPECT_EQ(test::Ui(*window).Edit1->text(), "United States");
}

TEST_F(FindIpRealDnsTest, AnUnknownNameShowsTheErrorBoxAndLeavesTheFieldsEmpty) {
    Query("nowhere.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return !program.boxes->shown.empty(); }));
    EXPECT_EQ(program.boxes->shown[0].text, "Website does not exist! ");
    EXPECT_TRUE(test::Ui(*window).Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(test::Ui(*window).Edit1->text().isEmpty());
    EXPECT_TRUE(test::Ui(*window).Edit4->text().isEmpty());
}

TEST_F(FindIpRealDnsTest, ResolvesTheHostOfAUrlWithUserPortPathQueryAndFragment) {
    Query("http://user@www.example.test:8080/path?x#y");
    ASSERT_TRUE(test::PumpUntil([&] { return !test::Ui(*window).Edit4->text().isEmpty(); }));
    EXPECT_EQ(test::Ui(*window).Memo1->toPlainText(), "192.0.2.10");
    EXPECT_EQ(test::Ui(*window).Edit4->text(), "www.example.test");
    EXPECT_TRUE(program.boxes->shown.empty());
}

}  // namespace
}  // namespace hostlore
