#include "app/drawn_icons.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>

namespace hostlore {
namespace {

// The drawing's opaque pixels, and whether all of them have `colour`.
struct Ink {
    int opaque = 0;
    int inColour = 0;
};

Ink InkOf(const QImage& image, const QColor& colour) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 255) {
                ++ink.opaque;
                ink.inColour += pixel.rgb() == colour.rgb() ? 1 : 0;
            }
        }
    }
    return ink;
}

TEST(DrawnIcon, EveryIconIsDrawnInTheWindowTextColourOnAClearGroundAtAnyScale) {
    const QPalette original = QApplication::palette();
    QPalette other = original;
    other.setColor(QPalette::WindowText, QColor(0xee, 0xdd, 0x11));
    for (const QPalette& palette : {original, other}) {
        QApplication::setPalette(palette);
        const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
        for (const DrawnIcon kind :
             {DrawnIcon::Go, DrawnIcon::Stop, DrawnIcon::Back, DrawnIcon::Forward, DrawnIcon::Halt,
              DrawnIcon::Reload, DrawnIcon::BrowserUrl, DrawnIcon::PageInfo, DrawnIcon::Computer}) {
            const QIcon icon = MakeDrawnIcon(kind);
            for (const qreal ratio : {1.0, 2.0}) {
                const QImage image = icon.pixmap(QSize(16, 16), ratio).toImage();
                ASSERT_EQ(image.size(), QSize(16, 16) * ratio);
                // Left as it came, the ground would show whatever the memory held.
                for (const QPoint corner :
                     {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                      QPoint(image.width() - 1, image.height() - 1)}) {
                    EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << static_cast<int>(kind);
                }
                const Ink ink = InkOf(image, text);
                // At twice the scale the lines are drawn anew: four times the ink.
                EXPECT_GE(ink.opaque, static_cast<int>(8 * ratio * ratio))
                    << static_cast<int>(kind);
                EXPECT_EQ(ink.inColour, ink.opaque) << static_cast<int>(kind);
            }
        }
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace hostlore
