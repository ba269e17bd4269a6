#pragma once

#include <QWidget>

#include "app/pages/web_pane.h"

namespace hostlore {

// The manual in a window of the program's own, shown by a browser pane, so
// that help needs no web browser. A window of the main window's: it never
// keeps the program running.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    // Takes `pane` as its child and shows the manual file `manual` in it.
    HelpWindow(WebPane* pane, const QString& manual, QWidget* mainWindow);
};

}  // namespace hostlore
