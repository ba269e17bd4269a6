#pragma once

#include <QDialog>

#include "platform/shell_opener.h"

class QLabel;
class QPushButton;

namespace hostlore {

// The about box: logos, version, notices and a link to the web site.
class Tabout : public QDialog {
    Q_OBJECT

  public:
    Tabout(ShellOpener& shell, QString webSite, QWidget* parent = nullptr);

    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;

    // Names the folder that holds settings.ini, so users can find it.
    void SetSettingsFolder(const QString& folder);

    void Button1Click();
    void Label4Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ShellOpener& shell_;
    QString webSite_;
    QLabel* settingsFolder_ = nullptr;
};

}  // namespace hostlore
