#include "app/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/fake_services.h"

namespace hostlore {
namespace {

TEST(Tabout, ShowsVersionAndLogosAndOpensTheWebSiteFromItsLink) {
    test::RecordingShell shell;
    Tabout about(shell, QStringLiteral("https://hostlore.example/"));
    EXPECT_EQ(about.windowTitle(), "About");

    bool version = false;
    int pictures = 0;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        version = version || label->text() == "V1.23";
        pictures += label->pixmap().isNull() ? 0 : 1;
    }
    EXPECT_TRUE(version);
    EXPECT_EQ(pictures, 2);
    EXPECT_TRUE(about.Label4->font().underline());
    EXPECT_EQ(about.Label4->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(about.Label4, Qt::LeftButton);
    EXPECT_EQ(shell.opened, QStringList{"https://hostlore.example/"});
}

TEST(Tabout, TheLinkIsReachedWithTabAndOpenedWithEnterAndThePicturesHaveNames) {
    test::RecordingShell shell;
    Tabout about(shell, QStringLiteral("https://hostlore.example/"));
    about.show();
    QApplication::setActiveWindow(&about);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    about.Button1->setFocus();
    for (int i = 0; i < 3 && !about.Label4->hasFocus(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_TRUE(about.Label4->hasFocus());
    QTest::keyClick(about.Label4, Qt::Key_Return);
    EXPECT_EQ(shell.opened, QStringList{"https://hostlore.example/"});
    EXPECT_TRUE(about.isVisible()) << "Enter on the link is not the default button's";
    int named = 0;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        named += !label->pixmap().isNull() && !label->accessibleName().isEmpty() ? 1 : 0;
    }
    EXPECT_EQ(named, 2);
}

TEST(Tabout, OkClosesTheModalBox) {
    test::RecordingShell shell;
    Tabout about(shell, QStringLiteral("https://hostlore.example/"));
    QTimer::singleShot(0, &about, [&] { about.Button1->click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace hostlore
