#include "platform/shell_opener.h"

#include <QApplication>
#include <QProcess>

namespace hostlore {

namespace {

// The reasons behind xdg-open's documented exit codes.
QString Reason(int exitCode) {
    switch (exitCode) {
        case 1:
            return QStringLiteral("the desktop's opener did not accept it");
        case 2:
            return QStringLiteral("it does not exist");
        case 3:
            return QStringLiteral("no program is set to open it");
        case 4:
            return QStringLiteral("the program set to open it failed");
        default:
            return QStringLiteral("the desktop's opener ended with status %1").arg(exitCode);
    }
}

}  // namespace

DesktopShellOpener::DesktopShellOpener(std::shared_ptr<MessageBoxes> boxes, QString title)
    : boxes_(std::move(boxes)), title_(std::move(title)) {}

void DesktopShellOpener::Open(const QString& target) {
    // Never deleted while it runs: deleting would kill it, and with it, on
    // some desktops, the browser it waits for.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({target});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    const auto report = [boxes = boxes_, title = title_, target](const QString& reason) {
        ShowErrorBox(*boxes, QApplication::activeWindow(), title,
                     QStringLiteral("Could not open %1: %2").arg(target, reason));
    };
    QObject::connect(
        opener, &QProcess::errorOccurred, opener, [opener, report](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                opener->deleteLater();
                report(QStringLiteral("the desktop's opener, xdg-open, could not be started"));
            }
        });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, report](int exitCode, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (status == QProcess::CrashExit) {
                             report(QStringLiteral("the desktop's opener stopped unexpectedly"));
                         } else if (exitCode != 0) {
                             report(Reason(exitCode));
                         }
                     });
    opener->start();
}

}  // namespace hostlore
