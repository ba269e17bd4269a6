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
    // QFontInfo also knows the point size of a font given in pixels.
    const double desktop = QFontInfo(QApplication::font()).pointSizeF();
    return desktop > 0 ? desktop / kLayoutPointSize : 1;
}

double GrowthScale() {
    return std::max(1.0, FontScale());
}

}  // namespace hostlore
