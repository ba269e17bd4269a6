// Prints the milliseconds from the launch time the caller gives in
// HOSTLORE_LAUNCH_NS (CLOCK_REALTIME nanoseconds) to the moment the first
// paint of the top-level window has been flushed, and the processor time the
// process had used by then, which other programs on a busy machine do not
// stretch. Built three ways: a bare widget window, the main window with empty panes, and the main
// window with the engine's panes; the last one then also prints when all four panes hold their
// browser views.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "launch_clock.h"

#if defined(PROBE_MAIN_WINDOW)
#include "app/main_window.h"
#endif
#if defined(PROBE_WEB_PANES)
#include "app/web_engine/deferred_web_engine.h"
#include "app/web_engine/web_engine_pane.h"
#endif

namespace {

using hostlore::bench::PrintProcessorTime;
using hostlore::bench::PrintSinceLaunch;

void Finish(QObject* window) {
#if defined(PROBE_WEB_PANES)
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [window] {
        // The service pages, and their panes, are made after the first paint.
        const auto panes = window->findChildren<hostlore::WebEnginePane*>();
        if (panes.size() < 4) {
            return;
        }
        for (const auto* pane : panes) {
            if (pane->View() == nullptr) {
                return;
            }
        }
        PrintSinceLaunch("panes");
        std::_Exit(0);
    });
    poll->start(5);
#else
    (void)window;
    std::_Exit(0);
#endif
}

// Sees every event; once the outermost dispatch that painted the window has
// returned, the frame has been handed to the display.
class ProbeApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint && receiver == window) {
            painted_ = true;
        }
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        if (painted_ && depth_ == 0 && !reported_) {
            reported_ = true;
            PrintSinceLaunch("window");
            PrintProcessorTime("window_cpu");
            Finish(window);
        }
        return handled;
    }

    QObject* window = nullptr;

  private:
    bool painted_ = false;
    bool reported_ = false;
    int depth_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
#if defined(PROBE_WEB_PANES)
    hostlore::PrepareWebEngineProcess(false);
#endif
    ProbeApplication application(argc, argv);
#if defined(PROBE_MAIN_WINDOW)
    auto services = hostlore::MainServices::ForThisProgram();
#if defined(PROBE_WEB_PANES)
    hostlore::UseWebEnginePanes(services, QStringLiteral(HOSTLORE_WEB_ENGINE_MODULE));
#else
    services.webPanes = [] { return new hostlore::BlankWebPane; };
#endif
    auto window = std::make_unique<hostlore::Tmain>(services);
#else
    auto window = std::make_unique<QWidget>();
    window->resize(583, 430);
#endif
    application.window = window.get();
    window->show();
    return QApplication::exec();
}
