#include "app/page_control.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShortcut>
#include <QStackedWidget>

#include "app/page_tabs_accessible.h"

namespace hostlore {

PageTabBar::PageTabBar(QWidget* parent) : QWidget(parent) {
    // Before anything asks for the accessible interfaces of the bar and its tabs.
    InstallPageTabsAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Pages"));
}

void PageTabBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            emit stepRequested(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            emit stepRequested(1);
            break;
        case Qt::Key_Home:
            emit endRequested(false);
            break;
        case Qt::Key_End:
            emit endRequested(true);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void PageTabBar::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    RepaintTabs();
}

void PageTabBar::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    RepaintTabs();
}

void PageTabBar::RepaintTabs() {
    // The selected tab draws the bar's focus mark.
    for (QWidget* tab : findChildren<QWidget*>()) {
        tab->update();
    }
}

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), tabBar_(new PageTabBar), pages_(new QStackedWidget) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(tabBar_);
    row->addWidget(pages_, 1);
    pages_->setFrameShape(QFrame::StyledPanel);
    connect(tabBar_, &PageTabBar::stepRequested, this, &PageControl::Step);
    connect(tabBar_, &PageTabBar::endRequested, this,
            [this](bool last) { setCurrentIndex(last ? count() - 1 : 0); });
    // X11 reports Ctrl+Shift+Tab as Tab with Shift, other platforms as Backtab.
    const std::pair<QList<QKeySequence>, int> switches[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Tab)}, 1},
        {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
         -1},
        {{QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1},
        {{QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, -1},
    };
    for (const auto& [keys, step] : switches) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { Step(step); });
    }
}

void PageControl::addPage(QWidget* page, const QIcon& icon, const QString& caption) {
    const int index = count();
    auto* tab = new VerticalTab(icon, caption, tabBar_);
    connect(tab, &VerticalTab::clicked, this, [this, index] { setCurrentIndex(index); });
    tabs_.push_back(tab);
    pages_->addWidget(page);
    tab->setChecked(index == currentIndex());
    ArrangeTabs();
}

void PageControl::setPage(int index, QWidget* page) {
    QWidget* old = pages_->widget(index);
    const bool current = index == pages_->currentIndex();
    pages_->insertWidget(index, page);
    if (current) {
        pages_->setCurrentIndex(index);
    }
    pages_->removeWidget(old);
    delete old;
}

int PageControl::currentIndex() const {
    return pages_->currentIndex();
}

void PageControl::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    for (int i = 0; i < count(); ++i) {
        tab(i)->setChecked(i == index);
    }
    if (index != pages_->currentIndex()) {
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
        NotifyPageTabSelected(*tab(index));
    }
}

QWidget* PageControl::widget(int index) const {
    return pages_->widget(index);
}

void PageControl::setTabFont(const QFont& font) {
    for (VerticalTab* tab : tabs_) {
        tab->setFont(font);
    }
    ArrangeTabs();
}

void PageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeTabs();
}

void PageControl::Step(int step) {
    if (count() > 0) {
        setCurrentIndex((currentIndex() + step + count()) % count());
    }
}

void PageControl::ArrangeTabs() {
    // Tabs run down a column; one that no longer fits starts the next column.
    int x = 0;
    int y = 0;
    int columnWidth = 0;
    const int available = std::max(height(), VerticalTab::MaxLength());
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
    tabBar_->setFixedWidth(x + columnWidth);
}

}  // namespace hostlore
