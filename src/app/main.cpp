#include <QApplication>

#include "app/main_window.h"
#include "net/net_stack.h"
#include "platform/command_line.h"

int main(int argc, char* argv[]) {
    hostlore::AnswerInformationRequests(argc, argv);
    hostlore::StartSocketLibrary();
    QApplication application(argc, argv);
    auto services = hostlore::MainServices::ForThisProgram();
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    return QApplication::exec();
}
