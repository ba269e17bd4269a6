#include "app/program_style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>
#include <optional>

namespace hostlore {

namespace {

// Asks the style for the icon at the first moment it is needed.
class DeferredIconEngine : public QIconEngine {
  public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap icon)
        : style_(style), icon_(icon) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

  private:
    const QIcon& Icon() {
        if (!made_) {
            made_ = style_ != nullptr ? style_->standardIcon(icon_) : QIcon();
        }
        return *made_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap icon_;
    std::optional<QIcon> made_;
};

}  // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
        return QIcon(new DeferredIconEngine(baseStyle(), icon));
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

void UseProgramStyle() {
    QStyle* current = QApplication::style();
    if (dynamic_cast<ProgramStyle*>(current) != nullptr) {
        return;
    }
    // A style chosen with -style or QT_STYLE_OVERRIDE stays the base.
    if (QStyle* base = QStyleFactory::create(current->name())) {
        QApplication::setStyle(new ProgramStyle(base));
    }
}

}  // namespace hostlore
