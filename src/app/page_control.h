#pragma once

#include <QWidget>
#include <vector>

#include "app/vertical_tab.h"

class QStackedWidget;

namespace hostlore {

// The column of tabs: one focus stop for the keyboard, where the arrow keys,
// Home and End move through the tabs in page order.
class PageTabBar : public QWidget {
    Q_OBJECT

  public:
    explicit PageTabBar(QWidget* parent = nullptr);

  signals:
    void stepRequested(int step);  // -1 previous, +1 next
    void endRequested(bool last);  // Home or End

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void RepaintTabs();
};

// Pages with their tabs on the left, in as many columns as the height needs,
// so that every tab stays in sight. Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDown and
// Ctrl+PgUp switch pages from anywhere in the window.
class PageControl : public QWidget {
    Q_OBJECT

  public:
    explicit PageControl(QWidget* parent = nullptr);

    void addPage(QWidget* page, const QIcon& icon, const QString& caption);
    // Puts `page` in place of the page at `index`, which is deleted; the tab
    // and which page is current stay.
    void setPage(int index, QWidget* page);
    int count() const { return static_cast<int>(tabs_.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QWidget* widget(int index) const;
    VerticalTab* tab(int index) const { return tabs_.at(static_cast<std::size_t>(index)); }
    PageTabBar* tabBar() const { return tabBar_; }
    void setTabFont(const QFont& font);

  signals:
    void currentChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Step(int step);
    void ArrangeTabs();

    PageTabBar* tabBar_;
    QStackedWidget* pages_;
    std::vector<VerticalTab*> tabs_;
};

}  // namespace hostlore
