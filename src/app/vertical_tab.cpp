#include "app/vertical_tab.h"

#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

#include "app/font_scale.h"
#include "app/palette_text.h"

namespace hostlore {

namespace {

constexpr int kLayoutIconSize = 16;
constexpr int kGap = 4;
constexpr int kFocusMarkWidth = 2;
constexpr int kSelectedBarWidth = 3;
constexpr int kLayoutMaxLength = 140;

// The selection bar and the focus mark are drawn in it. The style shades a
// tab between the window colour and the base colour, so it must stand out
// from both.
QColor MarkColour(const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Highlight);
    const bool clear = ContrastRatio(highlight, palette.color(QPalette::Window)) >= 3 &&
                       ContrastRatio(highlight, palette.color(QPalette::Base)) >= 3;
    return clear ? highlight : palette.color(QPalette::WindowText);
}

}  // namespace

VerticalTab::VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent)
    : QAbstractButton(parent) {
    setIcon(icon);
    const int iconSide = qRound(kLayoutIconSize * GrowthScale());
    setIconSize(QSize(iconSide, iconSide));
    setText(caption);
    setAccessibleName(caption.trimmed());
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

int VerticalTab::MaxLength() {
    return qRound(kLayoutMaxLength * GrowthScale());
}

QSize VerticalTab::sizeHint() const {
    const int length = fontMetrics().horizontalAdvance(text()) + DecorationLength();
    return {std::max(fontMetrics().height(), iconSize().height()) + 2 * kGap,
            std::min(length, MaxLength())};
}

int VerticalTab::DecorationLength() const {
    return iconSize().width() + 3 * kGap;
}

QString VerticalTab::ShownCaption() const {
    // The trailing blanks that even out the captions go first when room is short.
    const int room = height() - DecorationLength();
    return fontMetrics().horizontalAdvance(text()) <= room
               ? text()
               : fontMetrics().elidedText(text().trimmed(), Qt::ElideRight, room);
}

void VerticalTab::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedWest;
    option.position = QStyleOptionTab::Middle;
    if (isChecked()) {
        option.state |= QStyle::State_Selected;
    }
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    if (isChecked()) {
        // The style's shading of the selected tab is faint in many themes: a
        // bar along its outer edge shows it clearly.
        painter.fillRect(QRect(0, 0, kSelectedBarWidth, height()), MarkColour(palette()));
    }

    // Icon, then caption, reading upwards as on the style's own left-hand tabs.
    painter.translate(0, height());
    painter.rotate(-90);
    const int across = width();
    const int along = height();
    const int side = iconSize().width();
    icon().paint(&painter, QRect(kGap, (across - side) / 2, side, side));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(side + 2 * kGap, 0, along - DecorationLength(), across),
                     Qt::AlignLeft | Qt::AlignVCenter, ShownCaption());
    if (isChecked() && parentWidget() != nullptr && parentWidget()->hasFocus()) {
        // A frame round the tab, unlike the selected look's bar.
        painter.setPen(QPen(MarkColour(palette()), kFocusMarkWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(kFocusMarkWidth, kFocusMarkWidth, along - 2 * kFocusMarkWidth - 1,
                               across - 2 * kFocusMarkWidth - 1));
    }
}

}  // namespace hostlore
