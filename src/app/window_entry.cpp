#include "app/window_entry.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/web_engine/deferred_web_engine.h"
#include "platform/termination_requests.h"

extern "C" int hostlore_run_window(int argc, char* argv[], const hostlore::WindowStart* start) {
    hostlore::PrepareWebEngineProcess(start->verbose);
    QApplication application(argc, argv);
    hostlore::TerminationRequests termination;
    QObject::connect(&termination, &hostlore::TerminationRequests::requested, &application,
                     &QApplication::closeAllWindows);
    // Ties the windows to the menu entry and its icon, on Wayland too.
    QApplication::setDesktopFileName(QStringLiteral("hostlore"));
    auto services = hostlore::MainServices::ForThisProgram();
    hostlore::UseWebEnginePanes(services, hostlore::ProgramWebEngineModule());
    services.startUrl = start->url;
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    // Titles the boxes that have none, as the platform shows them.
    QApplication::setApplicationDisplayName(hostlore::Tmain::DisplayName());
    window.show();
    return QApplication::exec();
}
