#include "app/web_engine/web_engine_pane.h"

#include <QApplication>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "app/web_engine/pane_accessible.h"

namespace hostlore {

WebEnginePane::WebEnginePane(std::shared_ptr<DeferredWebEngine> engine, QWidget* parent)
    : WebPane(parent), engine_(std::move(engine)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebEnginePane::~WebEnginePane() {
    // The page must go before the profile, which the engine may take with it.
    delete view_;
}

void WebEnginePane::Navigate(const QString& url) {
    const QUrl target(url);
    if (!target.isValid()) {
        return;
    }
    if (view_ == nullptr) {
        pending_ = url;
        return;
    }
    view_->setProperty("url", target);
}

void WebEnginePane::Back() {
    Call("back");
}

void WebEnginePane::Forward() {
    Call("forward");
}

void WebEnginePane::Stop() {
    Call("stop");
    pending_.clear();
}

void WebEnginePane::Reload() {
    Call("reload");
}

void WebEnginePane::SetView(QWidget* view) {
    view_ = view;
    view_->setAccessibleName(accessibleName());
    layout()->addWidget(view_);
    connect(qApp, &QApplication::focusChanged, this, &WebEnginePane::OnFocusChange);
    if (!pending_.isEmpty()) {
        view_->setProperty("url", QUrl(pending_));
        pending_.clear();
    }
}

void WebEnginePane::ShowUnavailable(const QString& reason) {
    auto* line = new QLabel(QStringLiteral("The browser engine is not available: ") + reason + '.');
    line->setObjectName(QStringLiteral("EngineUnavailable"));
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    line->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout()->addWidget(line);
    pending_.clear();
}

void WebEnginePane::Call(const char* slot) {
    if (view_ != nullptr) {
        QMetaObject::invokeMethod(view_, slot);
    }
}

void WebEnginePane::OnFocusChange(const QWidget* old, const QWidget* now) {
    const auto inView = [this](const QWidget* widget) {
        return widget != nullptr && (widget == view_ || view_->isAncestorOf(widget));
    };
    if (inView(old) != inView(now)) {
        AnnouncePageFocus(*this);
    }
}

}  // namespace hostlore
