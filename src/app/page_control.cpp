#include "app/page_control.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace hostlore {

namespace {

constexpr int kIconSize = 16;
constexpr int kGap = 4;
constexpr int kDecorationLength = kIconSize + 3 * kGap;

}  // namespace

VerticalTab::VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent)
    : QAbstractButton(parent) {
    setIcon(icon);
    setIconSize(QSize(kIconSize, kIconSize));
    setText(caption);
    setAccessibleName(caption.trimmed());
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
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
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(kGap / 2, kGap / 2, along - kGap, across - kGap);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

PageControl::PageControl(QWidget* parent)
    : QWidget(parent),
      tabArea_(new QWidget),
      pages_(new QStackedWidget),
      group_(new QButtonGroup(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(tabArea_);
    row->addWidget(pages_, 1);
    pages_->setFrameShape(QFrame::StyledPanel);
    connect(group_, &QButtonGroup::idClicked, this, &PageControl::setCurrentIndex);
}

void PageControl::AddPage(QWidget* page, const QIcon& icon, const QString& caption) {
    auto* tab = new VerticalTab(icon, caption, tabArea_);
    group_->addButton(tab, count());
    tabs_.push_back(tab);
    pages_->addWidget(page);
    if (count() == 1) {
        tab->setChecked(true);
    }
    ArrangeTabs();
}

int PageControl::currentIndex() const {
    return pages_->currentIndex();
}

void PageControl::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    tab(index)->setChecked(true);
    if (index != pages_->currentIndex()) {
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
    }
}

QWidget* PageControl::widget(int index) const {
    return pages_->widget(index);
}

void PageControl::SetTabFont(const QFont& font) {
    for (VerticalTab* tab : tabs_) {
        tab->setFont(font);
    }
    ArrangeTabs();
}

void PageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeTabs();
}

void PageControl::ArrangeTabs() {
    // Tabs run down a column; one that no longer fits starts the next column.
    int x = 0;
    int y = 0;
    int columnWidth = 0;
    const int available = std::max(height(), VerticalTab::kMaxLength);
    for (VerticalTab* tab : tabs_) {
        const QSize size = tab->sizeHint();
        if (y > 0 && y + size.height() > available) {
            x += columnWidth;
            y = 0;
            columnWidth = 0;
        }
        tab->setGeometry(x, y, size.width(), size.height());
        y += size.height();
        columnWidth = std::max(columnWidth, size.width());
    }
    tabArea_->setFixedWidth(x + columnWidth);
}

}  // namespace hostlore
