#pragma once

#include <QWidget>
#include <functional>

namespace hostlore {

// An embedded browser view: loading, display, history and cookies are its
// own business. Every call returns at once.
class WebPane : public QWidget {
    Q_OBJECT

  public:
    using QWidget::QWidget;

    virtual void Navigate(const QString& url) = 0;
    virtual void Back() = 0;
    virtual void Forward() = 0;
    virtual void Stop() = 0;
    virtual void Reload() = 0;
};

// A pane that shows nothing and ignores every call: for a window taken
// without a browser engine.
class BlankWebPane : public WebPane {
  public:
    void Navigate(const QString& /*url*/) override {}
    void Back() override {}
    void Forward() override {}
    void Stop() override {}
    void Reload() override {}
};

// Makes the pane of one service page; the page takes it as its child.
using WebPaneFactory = std::function<WebPane*()>;

}  // namespace hostlore
