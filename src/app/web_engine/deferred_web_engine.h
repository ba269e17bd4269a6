#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "app/pages/web_pane.h"

namespace hostlore {

class WebEnginePane;

// Loads the browser engine module only after the first window has been
// painted, so that its cost never delays the window, then gives every pane
// its view. All panes share one profile, which goes after the last of them.
class DeferredWebEngine : public QObject {
    Q_OBJECT

  public:
    // `module` is the engine module's file name or path.
    explicit DeferredWebEngine(QString module);
    ~DeferredWebEngine() override;

    // The pane gets its view when the engine starts, or at once if it runs.
    void Add(WebEnginePane* pane);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using ProfileMaker = QObject* (*)();
    using ViewMaker = QWidget* (*)(QObject* profile);

    void Start();
    void GiveView(WebEnginePane& pane);

    QString module_;
    bool startQueued_ = false;
    ViewMaker makeView_ = nullptr;
    std::unique_ptr<QObject> profile_;
    std::vector<QPointer<WebEnginePane>> waiting_;
};

// Panes that share one deferred engine, loaded from `module`. Needs the
// application object.
WebPaneFactory WebEnginePanes(const QString& module);

// Where the program finds its engine module: beside it in a build folder, in
// its library folder once installed.
QString ProgramWebEngineModule();

// Process set-up the engine needs before the application object exists.
void PrepareWebEngineProcess();

}  // namespace hostlore
