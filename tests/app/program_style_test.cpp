#include "app/program_style.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QToolButton>

#include "app/main_window.h"
#include "support/fake_services.h"

namespace hostlore {
namespace {

TEST(ProgramStyle, TheMenuBarsOverflowButtonShowsTheStylesOwnPicture) {
    test::FakeProgram program;
    Tmain window(program.Services());
    const auto* style = dynamic_cast<const ProgramStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const auto* overflow =
        window.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    const QImage shown = overflow->icon().pixmap(16).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown, style->baseStyle()
                         ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                         .pixmap(16)
                         .toImage());
}

}  // namespace
}  // namespace hostlore
