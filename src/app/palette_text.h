#pragma once

#include <QColor>
#include <QPalette>
#include <initializer_list>

class QWidget;

namespace hostlore {

// The contrast ratio of two colours by their relative luminance (1 to 21).
double ContrastRatio(const QColor& first, const QColor& second);

// Gives `widget` whichever of the program's two colours for a text reads
// better on its palette's `background`, in each of `textRoles`, and chooses
// again whenever the palette changes (a dark theme turned on, say).
void FollowBackground(QWidget* widget, QPalette::ColorRole background, const QColor& onLight,
                      const QColor& onDark, std::initializer_list<QPalette::ColorRole> textRoles);

}  // namespace hostlore
