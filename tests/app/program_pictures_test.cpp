#include "app/program_pictures.h"

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"

namespace hostlore {
namespace {

// The mean difference of two pictures of one size, per channel, 0 to 255.
double MeanDifference(const QImage& first, const QImage& second) {
    double sum = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const QColor a = first.pixelColor(x, y);
            const QColor b = second.pixelColor(x, y);
            sum += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue());
        }
    }
    return sum / (3.0 * first.width() * first.height());
}

TEST(ProgramPicture, ScalingScreensGetTheDrawingAtTwiceTheSizeShownAtTheSameSize) {
    const std::tuple<const char*, QSize> pictures[] = {
        {"banner", {560, 64}},
        {"logo", {64, 64}},
        {"wordmark", {180, 64}},
    };
    for (const auto& [name, size] : pictures) {
        const QPixmap plain = ProgramPicture(QString::fromLatin1(name), 1);
        ASSERT_EQ(plain.size(), size) << name;
        EXPECT_EQ(plain.devicePixelRatio(), 1) << name;
        for (const qreal ratio : {1.5, 2.0}) {
            const QPixmap sharp = ProgramPicture(QString::fromLatin1(name), ratio);
            ASSERT_EQ(sharp.size(), size * 2) << name;
            EXPECT_EQ(sharp.devicePixelRatio(), 2) << name;
            EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(size)) << name;
        }

        const QImage sharp = ProgramPicture(QString::fromLatin1(name), 2).toImage();
        const QImage reduced = sharp.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage enlarged =
            plain.toImage().scaled(size * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // The same drawing, made at the larger size rather than blown up from the small one.
        EXPECT_LT(MeanDifference(reduced, plain.toImage()), 6) << name;
        EXPECT_GT(MeanDifference(sharp, enlarged), 1) << name;
    }
}

TEST(ProgramPicture, TheWindowCarriesTheProgramsIconAlsoFromTheBuildFolder) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    Tmain window(program.Services());
    // It comes right after the window's first paint.
    window.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !window.windowIcon().isNull(); }));
    const QIcon icon = window.windowIcon();
    for (const int size : {16, 32, 64, 256}) {
        const QImage drawn = icon.pixmap(size).toImage();
        ASSERT_EQ(drawn.size(), QSize(size, size));
        // The tile's teal near its top left corner, the globe's white inside.
        const QColor tile = drawn.pixelColor(size / 5, size / 10);
        EXPECT_GT(tile.green(), tile.red() + 40) << size;
        EXPECT_GT(drawn.pixelColor(size * 3 / 8, size * 3 / 8).lightness(), 170) << size;
    }
}

}  // namespace
}  // namespace hostlore
