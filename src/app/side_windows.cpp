#include "app/side_windows.h"

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/options/options_dialog.h"
#include "platform/program_files.h"

namespace hostlore {

SideWindows::SideWindows(QWidget& mainWindow, const MainServices& services, QString title,
                         QString webSite)
    : mainWindow_(mainWindow),
      services_(services),
      title_(std::move(title)),
      webSite_(std::move(webSite)) {}

Toptions& SideWindows::Options(SettingsStore& settings) {
    if (options_ == nullptr) {
        options_ = new Toptions(settings, *services_.messageBoxes, title_, &mainWindow_);
    }
    return *options_;
}

Tabout& SideWindows::About() {
    if (about_ == nullptr) {
        about_ = new Tabout(*services_.shell, webSite_, &mainWindow_);
        about_->SetSettingsFolder(QString::fromStdString(services_.settingsFolder.string()));
    }
    return *about_;
}

void SideWindows::ShowManual() {
    const QString manual =
        QString::fromStdString(HelpManual(services_.executable.parent_path()).string());
    if (!services_.webPanesShowPages || !services_.webPanesShowPages()) {
        services_.shell->Open(manual);
        return;
    }
    if (help_ == nullptr) {
        help_ = new HelpWindow(services_.webPanes(), manual, &mainWindow_);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace hostlore
