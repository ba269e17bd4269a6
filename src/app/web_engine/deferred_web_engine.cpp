#include "app/web_engine/deferred_web_engine.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLibrary>
#include <QTimer>

#include "app/web_engine/web_engine_pane.h"

namespace hostlore {

namespace {

QtMessageHandler passOn = nullptr;

// Loading the engine after the application has started is what keeps the
// window fast; the engine warns about exactly that, which is no news.
void DropLateStartWarnings(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("Qt WebEngine seems to be initialized from a plugin")) ||
         message.startsWith(QLatin1String("Attribute Qt::AA_ShareOpenGLContexts must be set")))) {
        return;
    }
    if (passOn != nullptr) {
        passOn(type, context, message);
    }
}

}  // namespace

DeferredWebEngine::DeferredWebEngine(QString module) : module_(std::move(module)) {
    QCoreApplication::instance()->installEventFilter(this);
}

DeferredWebEngine::~DeferredWebEngine() = default;

void DeferredWebEngine::Add(WebEnginePane* pane) {
    if (profile_) {
        GiveView(*pane);
    } else {
        waiting_.emplace_back(pane);
    }
}

bool DeferredWebEngine::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() == QEvent::Paint && !startQueued_) {
        startQueued_ = true;
        QCoreApplication::instance()->removeEventFilter(this);
        // Queued, so the painted window reaches the screen first.
        QTimer::singleShot(0, this, [this] { Start(); });
    }
    return false;
}

void DeferredWebEngine::Start() {
    passOn = qInstallMessageHandler(DropLateStartWarnings);
    // Never unloaded: the engine cannot be started twice in one process.
    QLibrary library(module_);
    auto makeProfile =
        reinterpret_cast<ProfileMaker>(library.resolve("hostlore_create_web_profile"));
    makeView_ = reinterpret_cast<ViewMaker>(library.resolve("hostlore_create_web_view"));
    if (makeProfile != nullptr && makeView_ != nullptr) {
        profile_.reset(makeProfile());
    }
    qInstallMessageHandler(passOn);
    if (!profile_) {
        qWarning("The browser panes stay empty: %s", qUtf8Printable(library.errorString()));
        return;
    }
    for (const auto& pane : waiting_) {
        if (pane) {
            GiveView(*pane);
        }
    }
    waiting_.clear();
}

void DeferredWebEngine::GiveView(WebEnginePane& pane) {
    pane.SetView(makeView_(profile_.get()));
}

WebPaneFactory WebEnginePanes(const QString& module) {
    return [engine = std::make_shared<DeferredWebEngine>(module)]() -> WebPane* {
        auto* pane = new WebEnginePane(engine);
        engine->Add(pane);
        return pane;
    };
}

QString ProgramWebEngineModule() {
    const QString folder = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("/libhostlore_web_engine.so");
    if (QFileInfo::exists(folder + name)) {
        return folder + name;
    }
    return folder + QStringLiteral("/../" HOSTLORE_MODULE_FOLDER) + name;
}

void PrepareWebEngineProcess() {
    if (geteuid() == 0) {
        // The engine refuses to run its sandbox as root.
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox")) {
            flags += flags.isEmpty() ? "--no-sandbox" : " --no-sandbox";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        }
    }
}

}  // namespace hostlore
