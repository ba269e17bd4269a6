#include "query/findip_thread.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"

namespace hostlore {
namespace {

class FindIpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        program.resolver->Add(
            "three.example.test",
            {"three.example.test", {{193, 200, 1, 1}, {12, 1, 1, 1}, {62, 0, 0, 1}}});
        program.resolver->Add("www.example.test", {"www.example.test", {{192, 0, 2, 10}}});
        program.resolver->Add("alias.example.test", {"canonical.example.test", {{192, 0, 2, 20}}});
        window = std::make_unique<Tmain>(program.Services());
    }

    void Query(const QString& url) {
        window->url_edit->setEditText(url);
        window->goClick(window->go);
    }

    bool Filled() const { return !window->Edit4->text().isEmpty(); }
    bool ErrorShown() const { return !program.boxes->shown.empty(); }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(FindIpTest, ListsEveryAddressAndNamesTheRegionOfTheFirst) {
    Query("three.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Filled(); }));
    EXPECT_EQ(window->Memo1->toPlainText(), "193.200.1.1\n12.1.1.1\n62.0.0.1");
    EXPECT_EQ(window->Edit1->text(), "Bulgaria");
    EXPECT_EQ(window->Edit4->text(), "three.example.test");
    EXPECT_TRUE(program.boxes->shown.empty());
}

TEST_F(FindIpTest, ShowsTheOfficialNameTheResolverGives) {
    Query("http://alias.example.test/index.html");
    ASSERT_TRUE(test::PumpUntil([&] { return Filled(); }));
    EXPECT_EQ(window->Edit4->text(), "canonical.example.test");
    EXPECT_EQ(window->Edit1->text(), "United States");
}

TEST_F(FindIpTest, AskesOnlyForTheHostOfAUrlWithUserPortPathQueryAndFragment) {
    Query("http://user@www.example.test:8080/path?x#y");
    ASSERT_TRUE(test::PumpUntil([&] { return Filled(); }));
    const auto asked = program.resolver->AskedNames();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "www.example.test"), asked.end());
    EXPECT_EQ(std::find(asked.begin(), asked.end(), "www.example.test:8080"), asked.end());
    EXPECT_EQ(window->Memo1->toPlainText(), "192.0.2.10");
}

TEST_F(FindIpTest, AnUnknownHostShowsTheErrorBoxAndLeavesTheFieldsEmpty) {
    Query("nowhere.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return ErrorShown(); }));
    test::PumpUntil([] { return false; }, 100);
    ASSERT_EQ(program.boxes->shown.size(), 1u);
    EXPECT_EQ(program.boxes->shown[0].text, "Website does not exist! ");
    EXPECT_EQ(program.boxes->shown[0].caption, "Error");
    EXPECT_EQ(program.boxes->shown[0].icon, BoxIcon::Error);
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(window->Edit1->text().isEmpty());
    EXPECT_TRUE(window->Edit4->text().isEmpty());
}

TEST_F(FindIpTest, ASlowResolverNeverHoldsUpTheWindow) {
    auto gate = std::make_shared<test::Gate>();
    program.resolver->HoldLookupsAt(gate);
    Query("www.example.test");
    bool timerRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });
    EXPECT_TRUE(test::PumpUntil([&] { return timerRan; }, 2000));
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());
    gate->Open();
    EXPECT_TRUE(test::PumpUntil([&] { return Filled(); }));
}

TEST_F(FindIpTest, AnEarlierQueryHeldByTheResolverWritesNothingIntoALaterOne) {
    auto gate = std::make_shared<test::Gate>();
    program.resolver->HoldLookupsAt(gate);
    Query("three.example.test");
    program.resolver->HoldLookupsAt(nullptr);
    Query("www.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Filled(); }));
    gate->Open();
    test::PumpUntil([] { return false; }, 200);
    EXPECT_EQ(window->Memo1->toPlainText(), "192.0.2.10");
    EXPECT_EQ(window->Edit4->text(), "www.example.test");
}

}  // namespace
}  // namespace hostlore
