#include <QApplication>
#include <QIcon>

#include "app/main_window.h"
#include "net/net_stack.h"
#include "platform/command_line.h"

int main(int argc, char* argv[]) {
    hostlore::AnswerInformationRequests(argc, argv);
    hostlore::StartSocketLibrary();
    QApplication application(argc, argv);
    // Ties the windows to the menu entry and its icon, on Wayland too.
    QApplication::setDesktopFileName(QStringLiteral("hostlore"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("hostlore")));
    auto services = hostlore::MainServices::ForThisProgram();
    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    return QApplication::exec();
}
