#pragma once

#include <QString>
#include <memory>

#include "app/pages/web_pane.h"

namespace hostlore {

class DeferredWebEngine;

// A browser pane that is an empty placeholder until the engine runs; then it
// holds a web view made by the engine module. A navigation asked for before
// that is remembered and made as soon as the view exists. The program never
// links the engine, so it drives the view through its published slots.
class WebEnginePane : public WebPane {
    Q_OBJECT

  public:
    explicit WebEnginePane(std::shared_ptr<DeferredWebEngine> engine, QWidget* parent = nullptr);
    ~WebEnginePane() override;

    void Navigate(const QString& url) override;
    void Back() override;
    void Forward() override;
    void Stop() override;
    void Reload() override;

    // Called by the engine once it runs; the pane takes the view.
    void SetView(QWidget* view);
    // Called by the engine when it cannot run: the pane says so in one line.
    void ShowUnavailable(const QString& reason);
    // Null until the engine runs.
    QWidget* View() const { return view_; }

  private:
    void Call(const char* slot);
    void OnFocusChange(const QWidget* old, const QWidget* now);

    std::shared_ptr<DeferredWebEngine> engine_;
    QWidget* view_ = nullptr;
    QString pending_;
};

}  // namespace hostlore
