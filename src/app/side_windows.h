#pragma once

#include <QString>

#include "app/main_services.h"

class QWidget;

namespace hostlore {

class HelpWindow;
class SettingsStore;
class Tabout;
class Toptions;

// The windows the main window opens besides itself, each made at its first
// use: making them with the window would cost its first paint. They are the
// main window's children.
class SideWindows {
  public:
    // `title` heads the options dialog's error boxes; the about box links to `webSite`.
    SideWindows(QWidget& mainWindow, const MainServices& services, QString title, QString webSite);

    // `settings` must outlive every showing.
    Toptions& Options(SettingsStore& settings);
    Tabout& About();
    // The manual in the program's own window, or through the desktop when the
    // panes cannot show pages.
    void ShowManual();

  private:
    QWidget& mainWindow_;
    const MainServices& services_;
    QString title_;
    QString webSite_;
    Toptions* options_ = nullptr;
    Tabout* about_ = nullptr;
    HelpWindow* help_ = nullptr;
};

}  // namespace hostlore
