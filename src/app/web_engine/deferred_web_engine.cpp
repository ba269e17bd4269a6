#include "app/web_engine/deferred_web_engine.h"

#include <unistd.h>

#include <QLibrary>
#include <QLoggingCategory>
#include <QTimer>
#include <array>

#include "app/first_paint.h"
#include "app/web_engine/engine_helper.h"
#include "app/web_engine/pane_accessible.h"
#include "app/web_engine/web_engine_pane.h"
#include "platform/program_files.h"

namespace hostlore {

namespace {

QtMessageHandler passOn = nullptr;

// The engine module's larger libraries, each loaded in a turn of its own
// before the module, so that no one load keeps the window from answering for
// long; the largest comes last.
constexpr std::array<const char*, 6> kEngineLibraries = {
    "Qt6Network", "Qt6Qml", "Qt6Quick", "Qt6QuickWidgets", "Qt6WebChannel", "Qt6WebEngineCore"};

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
    AfterFirstPaint(this, [this] { Start(); });
}

DeferredWebEngine::~DeferredWebEngine() = default;

void DeferredWebEngine::Add(WebEnginePane* pane) {
    if (profile_) {
        GiveView(*pane);
    } else if (failure_) {
        pane->ShowUnavailable(*failure_);
    } else {
        waiting_.emplace_back(pane);
    }
}

bool DeferredWebEngine::Available() const {
    return profile_ || (!failure_ && !EngineHelperProblem());
}

void DeferredWebEngine::Start() {
    // Without its helper the engine would end the whole program.
    if (const auto problem = EngineHelperProblem()) {
        Fail(*problem);
        return;
    }
    passOn = qInstallMessageHandler(DropLateStartWarnings);
    LoadLibraries(0);
}

void DeferredWebEngine::LoadLibraries(std::size_t next) {
    // Loading, or failing to, is the module's own load below; these only
    // spread its time over several turns of the event loop, so that the
    // window answers in between.
    if (next < kEngineLibraries.size()) {
        QLibrary(QString::fromLatin1(kEngineLibraries.at(next)), 6).load();
        QTimer::singleShot(0, this, [this, next] { LoadLibraries(next + 1); });
        return;
    }
    // Never unloaded: the engine cannot be started twice in one process.
    QLibrary library(module_);
    makeProfile_ = reinterpret_cast<ProfileMaker>(library.resolve("hostlore_create_web_profile"));
    makeView_ = reinterpret_cast<ViewMaker>(library.resolve("hostlore_create_web_view"));
    if (makeProfile_ == nullptr || makeView_ == nullptr) {
        qInstallMessageHandler(passOn);
        Fail(library.errorString());
        return;
    }
    QTimer::singleShot(0, this, [this] { StartEngine(); });
}

void DeferredWebEngine::StartEngine() {
    profile_.reset(makeProfile_());
    qInstallMessageHandler(passOn);
    if (!profile_) {
        Fail(QStringLiteral("the engine did not start"));
        return;
    }
    for (const auto& pane : waiting_) {
        if (pane) {
            GiveView(*pane);
        }
    }
    waiting_.clear();
}

void DeferredWebEngine::Fail(const QString& reason) {
    qWarning("The browser engine is not available: %s", qUtf8Printable(reason));
    failure_ = reason;
    for (const auto& pane : waiting_) {
        if (pane) {
            pane->ShowUnavailable(reason);
        }
    }
    waiting_.clear();
}

void DeferredWebEngine::GiveView(WebEnginePane& pane) {
    pane.SetView(makeView_(profile_.get()));
}

void UseWebEnginePanes(MainServices& services, const QString& module) {
    auto engine = std::make_shared<DeferredWebEngine>(module);
    services.webPanes = [engine]() -> WebPane* {
        auto* pane = new WebEnginePane(engine);
        engine->Add(pane);
        return pane;
    };
    services.webPanesShowPages = [engine] { return engine->Available(); };
}

QString ProgramWebEngineModule() {
    return QString::fromStdString(
        ProgramModule(ExecutablePath().parent_path(), "libhostlore_web_engine.so").string());
}

void PrepareWebEngineProcess(bool verbose) {
    if (geteuid() == 0) {
        // The engine refuses to run its sandbox as root.
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox")) {
            flags += flags.isEmpty() ? "--no-sandbox" : " --no-sandbox";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        }
    }
    if (!verbose) {
        // A user who started the program from a terminal has no use for them;
        // QT_LOGGING_RULES still overrides this.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext=false\njs=false"));
    }
    InstallPaneAccessibility();
}

}  // namespace hostlore
