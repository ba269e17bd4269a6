#include "app/vertical_tab.h"

#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace hostlore {

namespace {

constexpr int kIconSize = 16;
constexpr int kGap = 4;
constexpr int kDecorationLength = kIconSize + 3 * kGap;
constexpr int kFocusMarkWidth = 2;

}  // namespace

VerticalTab::VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent)
    : QAbstractButton(parent) {
    setIcon(icon);
    setIconSize(QSize(kIconSize, kIconSize));
    setText(caption);
    setAccessibleName(caption.trimmed());
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

QSize VerticalTab::sizeHint() const {
    const int length = fontMetrics().horizontalAdvance(text()) + kDecorationLength;
    return {std::max(fontMetrics().height(), kIconSize) + 2 * kGap, std::min(length, kMaxLength)};
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

    // Icon, then caption, reading upwards as on the style's own left-hand tabs.
    painter.translate(0, height());
    painter.rotate(-90);
    const int across = width();
    const int along = height();
    icon().paint(&painter, QRect(kGap, (across - kIconSize) / 2, kIconSize, kIconSize));
    // The trailing blanks that even out the captions go first when room is short.
    const int room = along - kDecorationLength;
    const QString caption = fontMetrics().horizontalAdvance(text()) <= room
                                ? text()
                                : fontMetrics().elidedText(text().trimmed(), Qt::ElideRight, room);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(kIconSize + 2 * kGap, 0, room, across), Qt::AlignLeft | Qt::AlignVCenter,
                     caption);
    if (isChecked() && parentWidget() != nullptr && parentWidget()->hasFocus()) {
        // A solid frame in the highlight colour, unlike the selected look.
        painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusMarkWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(kFocusMarkWidth, kFocusMarkWidth, along - 2 * kFocusMarkWidth - 1,
                               across - 2 * kFocusMarkWidth - 1));
    }
}

}  // namespace hostlore
