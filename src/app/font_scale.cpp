#include "app/font_scale.h"

#include <QApplication>
#include <QFontInfo>
#include <algorithm>

namespace hostlore {

namespace {

// Qt's own default on a desktop that names no font; the layout was drawn at it.
constexpr double kLayoutPointSize = 9;

}  // namespace

double FontScale() {
    // Every widget being built asks, and matching the font is the dear part:
    // it is done again only when the application's font has changed.
    static QString fontKey;
    static double scale = 1;
    const QFont font = QApplication::font();
    if (font.key() != fontKey) {
        fontKey = font.key();
        // QFontInfo also knows the point size of a font given in pixels.
        const double desktop = QFontInfo(font).pointSizeF();
        scale = desktop > 0 ? desktop / kLayoutPointSize : 1;
    }
    return scale;
}

double GrowthScale() {
    return std::max(1.0, FontScale());
}

}  // namespace hostlore
