#include "app/pages/neighbourhood_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include "app/main_window.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class NeighbourhoodPageTest : public ::testing::Test {
  protected:
    NeighbourhoodPageTest() {
        for (const char* item :
             {"192.0.2.9    X", "192.0.2.10    www.example.test", "192.0.2.11"}) {
            page.AppendItem(item);
        }
    }

    void Select(int row) {
        list->setCurrentRow(row);
        list->item(row)->setSelected(true);
    }
    void Choose(const char* action) { test::Find<QAction>(page, action)->trigger(); }

    test::RecordingShell shell;
    QStringList queried;
    NeighbourhoodPage page{shell, [this](const QString& name) { queried << name; }, [] {}};
    QListWidget* list = test::Find<QListWidget>(page, "ListBox1");
};

TEST_F(NeighbourhoodPageTest, PopupItemsActOnlyOnANamedItem) {
    Choose("Hostlore1");
    Choose("Open1");
    for (int row : {0, 2}) {
        Select(row);
        Choose("Hostlore1");
        Choose("Open1");
    }
    EXPECT_TRUE(queried.isEmpty());
    EXPECT_TRUE(shell.opened.isEmpty());

    Select(1);
    Choose("Hostlore1");
    Choose("Open1");
    EXPECT_EQ(queried, QStringList{"www.example.test"});
    EXPECT_EQ(shell.opened, QStringList{"http://www.example.test"});
}

TEST_F(NeighbourhoodPageTest, DoubleClickOpensTheName) {
    page.show();
    const QRect named = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, named.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, named.center());
    EXPECT_EQ(shell.opened, QStringList{"http://www.example.test"});
    EXPECT_TRUE(queried.isEmpty());
}

TEST(NeighbourhoodQuery, HostloreOnANeighbourRunsAFullQueryForItsName) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\nip_nei=2\r\n");
    program.resolver->Add("www.example.test", {"www.example.test", {{192, 0, 2, 10}}});
    program.resolver->Add("next.example.test", {"next.example.test", {{192, 0, 2, 11}}});
    Tmain window(program.Services());
    const auto ui = test::Ui(window);
    ui.url_edit->setEditText("www.example.test");
    window.goClick(ui.go);
    ASSERT_TRUE(test::PumpUntil([&] { return ui.Label11->text() == "Done!"; }));
    ASSERT_EQ(ui.ListBox1->count(), 3);
    EXPECT_EQ(ui.ListBox1->item(2)->text(), "192.0.2.11    next.example.test");

    ui.ListBox1->setCurrentRow(2);
    test::Find<QAction>(window, "Hostlore1")->trigger();
    EXPECT_EQ(ui.url_edit->currentText(), "http://next.example.test");
    EXPECT_EQ(ui.url_edit->findText("http://next.example.test"), 1);
    ASSERT_TRUE(test::PumpUntil([&] { return ui.Edit4->text() == "next.example.test"; }));
}

TEST(NeighbourhoodKeys, ShiftF10OpensThePopupMenuAtTheCurrentEntry) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    Tmain window(program.Services());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto ui = test::Ui(window);
    ui.cxPageControl1->setCurrentIndex(kNeighbourhoodPage);
    auto* page = test::Find<NeighbourhoodPage>(window, "IP Neighborhood");
    for (const char* item : {"192.0.2.9    X", "192.0.2.10    www.example.test"}) {
        page->AppendItem(item);
    }
    ui.ListBox1->setCurrentRow(1);
    ui.ListBox1->setFocus();
    const QPoint entry = ui.ListBox1->viewport()->mapToGlobal(
        ui.ListBox1->visualRect(ui.ListBox1->currentIndex()).center());
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, bool> cases[] = {
        {Qt::Key_F10, Qt::NoModifier, false},
        {Qt::Key_F10, Qt::ShiftModifier, true},
    };
    for (const auto& [key, modifiers, opens] : cases) {
        QTest::keyClick(ui.ListBox1, key, modifiers);
        EXPECT_EQ(ui.PopupMenu1->isVisible(), opens) << modifiers;
        if (opens) {
            EXPECT_EQ(ui.PopupMenu1->pos(), entry);
        }
        ui.PopupMenu1->close();
    }
}

}  // namespace
}  // namespace hostlore
