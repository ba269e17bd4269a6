#include "app/window_entry.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/program_pictures.h"
#include "app/web_engine/deferred_web_engine.h"
#include "platform/termination_requests.h"

extern "C" int hostlore_run_window(int argc, char* argv[], const hostlore::WindowStart* start) {
    hostlore::PrepareWebEngineProcess();
    QApplication application(argc, argv);
    hostlore::TerminationRequests termination;
    QObject::connect(&termination, &hostlore::TerminationRequests::requested, &application,
                     &QApplication::closeAllWindows);
    // Ties the windows to the menu entry and its icon, on Wayland too.
    QApplication::setDesktopFileName(QStringLiteral("hostlore"));
    QApplication::setWindowIcon(hostlore::ProgramIcon());
    auto services = hostlore::MainServices::ForThisProgram();
    services.webPanes = hostlore::WebEnginePanes(hostlore::ProgramWebEngineModule());
    services.startUrl = start->url;
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    return QApplication::exec();
}
