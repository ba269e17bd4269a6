#include <QApplication>

#include "app/main_window.h"
#include "app/web_engine/deferred_web_engine.h"
#include "net/net_stack.h"

int main(int argc, char* argv[]) {
    hostlore::StartSocketLibrary();
    hostlore::PrepareWebEngineProcess();
    QApplication application(argc, argv);
    auto services = hostlore::MainServices::ForThisProgram();
    services.webPanes = hostlore::WebEnginePanes(hostlore::ProgramWebEngineModule());
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    return QApplication::exec();
}
