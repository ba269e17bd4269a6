#include "app/web_engine/pane_accessible.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QWindow>

#include "app/web_engine/web_engine_pane.h"

namespace hostlore {

namespace {

// The engine reports the document of every page as focused whenever nothing
// inside it is, and never as hidden. This stands in for it where screen
// readers look for it, below the pane, and corrects those two states from
// what the window knows; all else is the engine's.
class PageDocumentAccessible : public QAccessibleInterface {
  public:
    explicit PageDocumentAccessible(WebEnginePane* pane) : pane_(pane) {}

    bool isValid() const override { return Engine() != nullptr && Engine()->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return pane_ != nullptr ? pane_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(pane_);
    }
    int childCount() const override { return Shown() ? Engine()->childCount() : 0; }
    QAccessibleInterface* child(int index) const override {
        return Shown() ? Engine()->child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return Shown() ? Engine()->indexOfChild(child) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return Shown() ? Engine()->childAt(x, y) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Focused() ? Engine()->focusChild() : nullptr;
    }
    QString text(QAccessible::Text kind) const override {
        return isValid() ? Engine()->text(kind) : QString();
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (isValid()) {
            Engine()->setText(kind, text);
        }
    }
    QRect rect() const override { return isValid() ? Engine()->rect() : QRect(); }
    QAccessible::Role role() const override {
        return isValid() ? Engine()->role() : QAccessible::WebDocument;
    }
    QAccessible::State state() const override {
        if (!isValid()) {
            QAccessible::State gone;
            gone.invalid = true;
            return gone;
        }
        QAccessible::State state = Engine()->state();
        state.focused = state.focused && Focused();
        if (!Shown()) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return isValid() ? Engine()->interface_cast(type) : nullptr;
    }

  private:
    QWidget* View() const { return pane_ != nullptr ? pane_->View() : nullptr; }

    // The engine's document of the page the view shows now.
    QAccessibleInterface* Engine() const {
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(View());
        return view != nullptr && view->childCount() > 0 ? view->child(0) : nullptr;
    }

    bool Shown() const { return isValid() && View()->isVisible(); }

    bool Focused() const {
        const QWidget* focus = QApplication::focusWidget();
        return Shown() && focus != nullptr && (View()->hasFocus() || View()->isAncestorOf(focus));
    }

    QPointer<WebEnginePane> pane_;
};

// A pane whose view screen readers meet as its page's document.
class PaneAccessible : public QAccessibleWidget {
  public:
    explicit PaneAccessible(WebEnginePane* pane)
        : QAccessibleWidget(pane),
          document_(new PageDocumentAccessible(pane)),
          documentId_(QAccessible::registerAccessibleInterface(document_)) {}
    ~PaneAccessible() override { QAccessible::deleteAccessibleInterface(documentId_); }
    PaneAccessible(const PaneAccessible&) = delete;
    PaneAccessible& operator=(const PaneAccessible&) = delete;

    QAccessibleInterface* child(int index) const override {
        QAccessibleInterface* child = QAccessibleWidget::child(index);
        return IsView(child) && document_->isValid() ? document_ : child;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == document_) {
            return QAccessibleWidget::indexOfChild(QAccessible::queryAccessibleInterface(View()));
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessibleInterface* Document() const { return document_; }

  private:
    QWidget* View() const { return static_cast<WebEnginePane*>(widget())->View(); }
    bool IsView(const QAccessibleInterface* child) const {
        return child != nullptr && View() != nullptr && child->object() == View();
    }

    QAccessibleInterface* document_;
    QAccessible::Id documentId_;
};

// Windows the toolkit never gave a native window (the engine draws each view
// in one) are nowhere on the screen.
QObjectList WindowsOnScreen() {
    QObjectList windows;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->handle() == nullptr || window->type() == Qt::Popup ||
            window->type() == Qt::Desktop) {
            continue;
        }
        if (QAccessibleInterface* root = window->accessibleRoot();
            root != nullptr && root->object() != nullptr) {
            windows.append(root->object());
        }
    }
    return windows;
}

class OnScreenApplication : public QAccessibleApplication {
  public:
    int childCount() const override { return static_cast<int>(WindowsOnScreen().size()); }
    QAccessibleInterface* child(int index) const override {
        const QObjectList windows = WindowsOnScreen();
        return index >= 0 && index < windows.size()
                   ? QAccessible::queryAccessibleInterface(windows.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr ? static_cast<int>(WindowsOnScreen().indexOf(child->object())) : -1;
    }
};

QAccessibleInterface* MakePaneAccessibility(const QString& className, QObject* object) {
    if (object != nullptr && object == QCoreApplication::instance()) {
        return new OnScreenApplication;
    }
    if (className == QLatin1String(WebEnginePane::staticMetaObject.className())) {
        return new PaneAccessible(static_cast<WebEnginePane*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallPaneAccessibility() {
    QAccessible::installFactory(MakePaneAccessibility);
}

void AnnouncePageFocus(WebEnginePane& pane) {
    if (!QAccessible::isActive()) {
        return;
    }
    auto* paneAccessible =
        dynamic_cast<PaneAccessible*>(QAccessible::queryAccessibleInterface(&pane));
    if (paneAccessible == nullptr || !paneAccessible->Document()->isValid()) {
        return;
    }
    QAccessible::State changed;
    changed.focused = true;
    QAccessibleStateChangeEvent event(paneAccessible->Document(), changed);
    QAccessible::updateAccessibility(&event);
}

}  // namespace hostlore
