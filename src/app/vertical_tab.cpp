#include "app/vertical_tab.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionTab>
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
    // The tab is drawn lying, as a tab above its page, and then stood up.
    // Drawn through a rotation, its shape's fills were split across threads
    // and every letter rendered anew: the tabs alone cost the first paint of
    // the window a few milliseconds.
    const int across = width();
    const int along = height();
    const qreal ratio = devicePixelRatioF();
    QImage lying(QSize(along, across) * ratio, QImage::Format_ARGB32_Premultiplied);
    lying.setDevicePixelRatio(ratio);
    lying.fill(Qt::transparent);
    {
        QPainter painter(&lying);
        // The widget's direction, not the application's, as a painter on the tab would have.
        painter.setLayoutDirection(layoutDirection());
        QStyleOptionTab option;
        option.initFrom(this);
        option.rect = QRect(0, 0, along, across);
        option.shape = QTabBar::RoundedNorth;
        option.position = QStyleOptionTab::Middle;
        if (isChecked()) {
            option.state |= QStyle::State_Selected;
        }
        style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
        if (isChecked()) {
            // The style's shading of the selected tab is faint in many themes:
            // a bar along its outer edge shows it clearly.
            painter.fillRect(QRect(0, 0, along, kSelectedBarWidth), MarkColour(palette()));
        }
        // Icon, then caption: standing, the caption reads upwards, as on the
        // style's own left-hand tabs.
        const int side = iconSize().width();
        icon().paint(&painter, QRect(kGap, (across - side) / 2, side, side));
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(side + 2 * kGap, 0, along - DecorationLength(), across),
                         Qt::AlignLeft | Qt::AlignVCenter, ShownCaption());
    }
    QImage standing = lying.transformed(QTransform().rotate(-90));
    standing.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(0, 0, standing);
    if (isChecked() && parentWidget() != nullptr && parentWidget()->hasFocus()) {
        // A frame round the tab, unlike the selected look's bar.
        painter.setPen(QPen(MarkColour(palette()), kFocusMarkWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(kFocusMarkWidth, kFocusMarkWidth, across - 2 * kFocusMarkWidth - 1,
                               along - 2 * kFocusMarkWidth - 1));
    }
}

}  // namespace hostlore
