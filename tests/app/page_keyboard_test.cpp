#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "query/query_rules.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

class PageKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        window = std::make_unique<Tmain>(program.Services());
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        pages = test::Ui(*window).cxPageControl1;
    }

    void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(target, key, modifiers);
    }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
    PageControl* pages = nullptr;
};

TEST_F(PageKeyboardTest, TabRunsFromTheTopPanelToTheTabBarToTheShownPageOnly) {
    test::Ui(*window).url_edit->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(focused->isVisible()) << focused->objectName().toStdString();
        visited << (focused == pages->tabBar() ? QStringLiteral("tabs") : focused->objectName());
        Press(focused, Qt::Key_Tab);
    }
    const int bar = static_cast<int>(visited.indexOf("tabs"));
    ASSERT_GE(bar, 0) << visited.join(',').toStdString();
    EXPECT_LT(visited.indexOf("SpeedButton2"), bar);
    EXPECT_GT(visited.indexOf("Edit1"), bar);
    EXPECT_EQ(visited.count("tabs"), 1) << "the tab bar is one stop";
}

TEST_F(PageKeyboardTest, ArrowsHomeAndEndOnTheTabBarGoInPageOrder) {
    pages->tabBar()->setFocus();
    for (int page = 1; page < kPageCount; ++page) {
        Press(pages->tabBar(), Qt::Key_Down);
        EXPECT_EQ(pages->currentIndex(), page);
    }
    Press(pages->tabBar(), Qt::Key_Left);
    EXPECT_EQ(pages->currentIndex(), kLocalNetworkPage - 1);
    Press(pages->tabBar(), Qt::Key_Home);
    EXPECT_EQ(pages->currentIndex(), 0);
    Press(pages->tabBar(), Qt::Key_Up);
    EXPECT_EQ(pages->currentIndex(), kLocalNetworkPage);
    Press(pages->tabBar(), Qt::Key_Right);
    EXPECT_EQ(pages->currentIndex(), 0);
    Press(pages->tabBar(), Qt::Key_End);
    EXPECT_EQ(pages->currentIndex(), kLocalNetworkPage);
}

TEST_F(PageKeyboardTest, ControlKeysSwitchPagesFromAnywhereInTheWindow) {
    QWidget* box = test::Ui(*window).url_edit->lineEdit();
    box->setFocus();
    const std::pair<std::pair<Qt::Key, Qt::KeyboardModifiers>, int> steps[] = {
        {{Qt::Key_Tab, Qt::ControlModifier}, 1},
        {{Qt::Key_PageDown, Qt::ControlModifier}, 2},
        {{Qt::Key_PageUp, Qt::ControlModifier}, 1},
        {{Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier}, 0},
        {{Qt::Key_PageUp, Qt::ControlModifier}, kLocalNetworkPage},
        // X11 reports Ctrl+Shift+Tab as Tab, not as Backtab.
        {{Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier}, kLocalNetworkPage - 1},
    };
    for (const auto& [keys, page] : steps) {
        Press(QApplication::focusWidget(), keys.first, keys.second);
        EXPECT_EQ(pages->currentIndex(), page);
    }
}

TEST_F(PageKeyboardTest, BrowserKeysPutTheFocusIntoTheUrlBoxWithItsTextSelected) {
    QLineEdit* box = test::Ui(*window).url_edit->lineEdit();
    box->setText("http://example.test/");
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_L, Qt::ControlModifier},
                                                              {Qt::Key_F6, Qt::NoModifier},
                                                              {Qt::Key_D, Qt::AltModifier}};
    for (const auto& [key, modifiers] : keys) {
        pages->tabBar()->setFocus();
        box->deselect();
        Press(pages->tabBar(), key, modifiers);
        EXPECT_TRUE(box->hasFocus()) << key;
        EXPECT_EQ(box->selectedText(), "http://example.test/") << key;
    }
}

TEST_F(PageKeyboardTest, EnterOnAFocusedToolButtonPressesIt) {
    QToolButton* go = test::Ui(*window).go;
    test::Ui(*window).url_edit->setEditText("enter.example.test");
    go->setFocus();
    QTest::keyClick(go, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(test::PumpUntil([&] { return test::Ui(*window).url_edit->count() == 1; }));
    EXPECT_EQ(test::Ui(*window).url_edit->itemText(0), "http://enter.example.test");
}

TEST_F(PageKeyboardTest, TheTextAreasHaveACaretTheKeysMoveButStayReadOnly) {
    pages->setCurrentIndex(kLocalNetworkPage);
    QPlainTextEdit* report = test::Ui(*window).Memo2;
    ASSERT_TRUE(test::PumpUntil([&] { return report->document()->blockCount() > 2; }));
    report->setFocus();
    QTest::keyClick(report, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(report->textCursor().blockNumber(), report->document()->blockCount() - 1);
    QTest::keyClick(report, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(report, Qt::Key_Down);
    EXPECT_EQ(report->textCursor().blockNumber(), 1);
    const QString before = report->toPlainText();
    QTest::keyClicks(report, "typed");
    EXPECT_EQ(report->toPlainText(), before);
}

TEST_F(PageKeyboardTest, ScreenReadersSeeAPageTabListThatSwitchesPages) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(pages->tabBar());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PageTabList);
    ASSERT_EQ(list->childCount(), kPageCount);
    pages->setCurrentIndex(2);
    for (int i = 0; i < kPageCount; ++i) {
        QAccessibleInterface* tab = list->child(i);
        EXPECT_EQ(tab->role(), QAccessible::PageTab) << i;
        EXPECT_EQ(tab->text(QAccessible::Name).toStdString(), kPageNames[i]);
        EXPECT_EQ(tab->state().selected, i == 2) << i;
    }
    QAccessibleActionInterface* press = list->child(5)->actionInterface();
    ASSERT_NE(press, nullptr);
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pages->currentIndex(), 5);
    EXPECT_TRUE(list->child(5)->state().selected);
    EXPECT_FALSE(list->child(2)->state().selected);
}

}  // namespace
}  // namespace hostlore
