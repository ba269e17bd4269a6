#include "app/page_tabs_accessible.h"

#include <QAccessibleWidget>

#include "app/page_control.h"

namespace hostlore {

namespace {

class AccessiblePageTab : public QAccessibleWidget {
  public:
    explicit AccessiblePageTab(VerticalTab* tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? widget()->accessibleName()
                                         : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = Tab()->isChecked();
        state.focusable = false;
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Tab()->click();
        }
    }

  private:
    VerticalTab* Tab() const { return static_cast<VerticalTab*>(widget()); }
};

QAccessibleInterface* PageTabsFactory(const QString& /*className*/, QObject* object) {
    if (auto* tab = qobject_cast<VerticalTab*>(object)) {
        return new AccessiblePageTab(tab);
    }
    if (auto* bar = qobject_cast<PageTabBar*>(object)) {
        return new QAccessibleWidget(bar, QAccessible::PageTabList);
    }
    return nullptr;
}

}  // namespace

void InstallPageTabsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(PageTabsFactory);
        return true;
    }();
    (void)installed;
}

void NotifyPageTabSelected(VerticalTab& tab) {
    QAccessibleEvent selected(&tab, QAccessible::Selection);
    QAccessible::updateAccessibility(&selected);
}

}  // namespace hostlore
