#include <QApplication>

#include "app/main_window.h"
#include "app/web_engine/deferred_web_engine.h"
#include "net/net_stack.h"
#include "platform/command_line.h"
#include "platform/termination_requests.h"

int main(int argc, char* argv[]) {
    const hostlore::ProgramOptions options = hostlore::AnswerInformationRequests(argc, argv);
    hostlore::StartSocketLibrary();
    hostlore::PrepareWebEngineProcess(options.verbose);
    QApplication application(argc, argv);
    hostlore::TerminationRequests termination;
    QObject::connect(&termination, &hostlore::TerminationRequests::requested, &application,
                     &QApplication::closeAllWindows);
    // Ties the windows to the menu entry and its icon, on Wayland too.
    QApplication::setDesktopFileName(QStringLiteral("hostlore"));
    auto services = hostlore::MainServices::ForThisProgram();
    hostlore::UseWebEnginePanes(services, hostlore::ProgramWebEngineModule());
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    return QApplication::exec();
}
