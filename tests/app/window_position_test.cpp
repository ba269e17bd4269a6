#include "app/options/window_position.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <memory>

#include "settings/settings_store.h"
#include "support/qt_printers.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

constexpr QSize kDesigned(583, 430);

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QRect Centred(const QSize& size) {
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, Available());
}

QRect Bounds(const QWidget& window) {
    return {window.pos(), window.size()};
}

std::string BoundsEntries(const QRect& bounds) {
    return "Left=" + std::to_string(bounds.x()) + "\r\nTop=" + std::to_string(bounds.y()) +
           "\r\nWidth=" + std::to_string(bounds.width()) +
           "\r\nHeight=" + std::to_string(bounds.height()) + "\r\n";
}

class WindowPositionTest : public ::testing::Test {
  protected:
    // A main window as the program builds it: named, at its designed size.
    static std::unique_ptr<QMainWindow> DesignedWindow() {
        auto window = std::make_unique<QMainWindow>();
        window->setObjectName(QStringLiteral("main"));
        window->resize(kDesigned);
        return window;
    }

    // The window of a new start: restored from the file, then shown.
    std::unique_ptr<QMainWindow> StartedWindow() {
        auto window = DesignedWindow();
        TPosition(*window, file).Restore();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    void WriteFile(const std::string& entries) {
        folder.Write(file.filename(), "[main Position]\r\n" + entries);
    }

    test::TemporaryFolder folder;
    std::filesystem::path file = folder.File("hostlore.ini");
};

TEST_F(WindowPositionTest, FirstStartOpensCentredAtTheDesignedSize) {
    auto window = DesignedWindow();
    TPosition(*window, file).Restore();
    EXPECT_EQ(Bounds(*window), Centred(kDesigned));
    EXPECT_FALSE(std::filesystem::exists(file)) << "restoring writes nothing";
}

TEST_F(WindowPositionTest, FirstStartCentresTheSizeTheContentGrowsTheWindowTo) {
    auto window = DesignedWindow();
    auto* content = new QWidget;
    content->setMinimumHeight(kDesigned.height() + 100);
    window->setCentralWidget(content);
    TPosition(*window, file).Restore();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_GT(window->height(), kDesigned.height());
    EXPECT_EQ(Bounds(*window), Centred(window->size()));
}

TEST_F(WindowPositionTest, ComesBackWhereItWasClosed) {
    const QRect placed(Available().topLeft() + QPoint(30, 40), QSize(500, 350));
    {
        auto window = StartedWindow();
        window->move(placed.topLeft());
        window->resize(placed.size());
        TPosition(*window, file).Save();
    }
    EXPECT_EQ(folder.Read(file.filename()),
              "[main Position]\r\nWindowState=0\r\nisdesigned=y\r\n" + BoundsEntries(placed));

    auto again = StartedWindow();
    EXPECT_EQ(Bounds(*again), placed);
    EXPECT_EQ(again->windowState(), Qt::WindowNoState);
}

TEST_F(WindowPositionTest, MaximisedComesBackMaximisedAndLeavesItForTheDesignedSize) {
    const std::string earlier =
        BoundsEntries(QRect(Available().topLeft() + QPoint(30, 40), QSize(500, 350)));
    WriteFile("WindowState=0\r\nisdesigned=y\r\n" + earlier);
    {
        auto window = StartedWindow();
        window->showMaximized();
        TPosition(*window, file).Save();
    }
    EXPECT_EQ(folder.Read(file.filename()),
              "[main Position]\r\nWindowState=2\r\nisdesigned=y\r\n" + earlier)
        << "the bounds of the earlier save stay";

    auto again = StartedWindow();
    EXPECT_TRUE(again->isMaximized());
    EXPECT_EQ(again->normalGeometry().size(), kDesigned) << "not the size of the earlier save";
}

TEST_F(WindowPositionTest, MinimisedIsStoredAsOneAndComesBackNormal) {
    const QRect placed(Available().topLeft() + QPoint(30, 40), QSize(500, 350));
    {
        auto window = StartedWindow();
        window->move(placed.topLeft());
        window->resize(placed.size());
        window->showMinimized();
        TPosition(*window, file).Save();
    }
    const SettingsStore stored(file);
    EXPECT_EQ(stored.ReadString("main Position", "WindowState", ""), "1");

    auto again = StartedWindow();
    EXPECT_EQ(again->windowState(), Qt::WindowNoState);
    EXPECT_EQ(Bounds(*again), placed) << "the bounds it had before it was minimised";
}

TEST_F(WindowPositionTest, ASizeThatIsNoNumberOrNothingKeepsTheDesignedOne) {
    const QPoint place = Available().topLeft() + QPoint(30, 40);
    const std::tuple<const char*, const char*, QSize> cases[] = {
        {"wide", "350", QSize(kDesigned.width(), 350)},
        {"500", "0", QSize(500, kDesigned.height())},
        {"-500", "", kDesigned},
    };
    for (const auto& [width, height, expected] : cases) {
        WriteFile("isdesigned=y\r\nWindowState=0\r\nLeft=" + std::to_string(place.x()) +
                  "\r\nTop=" + std::to_string(place.y()) + "\r\nWidth=" + width +
                  "\r\nHeight=" + height + "\r\n");
        auto window = StartedWindow();
        EXPECT_EQ(Bounds(*window), QRect(place, expected)) << width << " " << height;
    }
}

struct PlacementCase {
    const char* name;
    bool designed;  // isdesigned=y
    QRect stored;   // relative to the primary screen's free area
    QRect expected;
};

TEST_F(WindowPositionTest, BoundsNoScreenShowsComeBackCentredAndVisible) {
    const QRect area = Available();
    const QSize normal(500, 350);
    const auto at = [&](int x, int y, QSize size = QSize(500, 350)) {
        return QRect(area.topLeft() + QPoint(x, y), size);
    };
    const PlacementCase cases[] = {
        {"far off every screen", true, at(area.width() + 5000, area.height() + 5000),
         Centred(normal)},
        {"50 pixels left on screen", true, at(-450, 40), Centred(normal)},
        {"150 pixels left on screen", true, at(-350, 40), at(-350, 40)},
        {"title bar above the screen", true, at(30, -20), Centred(normal)},
        {"30 rows of the top edge on screen", true, at(30, area.height() - 30), Centred(normal)},
        {"50 rows of the top edge on screen", true, at(30, area.height() - 50),
         at(30, area.height() - 50)},
        {"larger than the screen and off it", true,
         at(area.width() + 10, 0, area.size() + QSize(400, 300)), area},
        {"taller than the screen", true, at(30, 0, QSize(500, area.height() + 300)),
         at(30, 0, QSize(500, area.height()))},
        {"wider than the screen", true, at(-200, 40, QSize(area.width() + 5000, 350)),
         at(0, 40, QSize(area.width(), 350))},
        {"never stored: centred at the stored size", false, at(30, 40), Centred(normal)},
    };
    for (const auto& c : cases) {
        WriteFile(std::string(c.designed ? "isdesigned=y\r\n" : "") + "WindowState=0\r\n" +
                  BoundsEntries(c.stored));
        auto window = DesignedWindow();
        TPosition(*window, file).Restore();
        EXPECT_EQ(Bounds(*window), c.expected) << c.name;
    }
}

TEST_F(WindowPositionTest, AFileThatCannotBeWrittenIsReportedAndStaysAsItWas) {
    WriteFile("WindowState=0\r\nisdesigned=y\r\n");
    const std::string before = folder.Read(file.filename());
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    auto window = StartedWindow();
    try {
        TPosition(*window, file).Save();
        FAIL() << "no failure";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
    }
    EXPECT_EQ(folder.Read(file.filename()), before);
}

TEST_F(WindowPositionTest, AFileThatIsALinkIsSavedThroughIt) {
    folder.Write("kept.ini", "[main Position]\r\nWindowState=0\r\n");
    std::filesystem::create_symlink("kept.ini", file);
    auto window = StartedWindow();
    TPosition(*window, file).Save();
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_NE(folder.Read("kept.ini").find("isdesigned=y"), std::string::npos);
}

}  // namespace
}  // namespace hostlore
