#pragma once

// app/web_engine/: the browser panes, placeholders until the engine module loads; only the module
// (pane_page, pane_profile, web_view_entry) includes Qt WebEngine. May include app/.

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "app/main_services.h"

namespace hostlore {

class WebEnginePane;

// Loads the browser engine module only after the first window has been
// painted, so that its cost never delays the window, and in several turns of
// the event loop, so that the window keeps answering; then gives every pane
// its view. All panes share one profile, which goes after the last of them.
class DeferredWebEngine : public QObject {
    Q_OBJECT

  public:
    // `module` is the engine module's file name or path.
    explicit DeferredWebEngine(QString module);
    ~DeferredWebEngine() override;

    // The pane gets its view when the engine starts, or at once if it runs;
    // or the reason why the engine cannot run.
    void Add(WebEnginePane* pane);

    // False once the engine is known not to run.
    bool Available() const;

  private:
    using ProfileMaker = QObject* (*)();
    using ViewMaker = QWidget* (*)(QObject* profile);

    void Start();
    void LoadLibraries(std::size_t next);
    void StartEngine();
    void Fail(const QString& reason);
    void GiveView(WebEnginePane& pane);

    QString module_;
    ProfileMaker makeProfile_ = nullptr;
    ViewMaker makeView_ = nullptr;
    std::unique_ptr<QObject> profile_;
    std::optional<QString> failure_;
    std::vector<QPointer<WebEnginePane>> waiting_;
};

// Gives the window panes that share one deferred engine, loaded from
// `module`, and help that uses it while it can run. Needs the application
// object.
void UseWebEnginePanes(MainServices& services, const QString& module);

// Where the program finds its engine module: beside it in a build folder, in
// its library folder once installed.
QString ProgramWebEngineModule();

// Process set-up the engine needs before the application object exists. The
// engine's report of its start and the pages' console messages are printed
// only when `verbose`.
void PrepareWebEngineProcess(bool verbose);

}  // namespace hostlore
