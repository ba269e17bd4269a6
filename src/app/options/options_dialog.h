#pragma once

// app/options/: the options dialog and the window position memory; may include settings/, query/'s
// rules, platform/ and app/page_control.h.

#include <QDialog>

#include "platform/message_boxes.h"
#include "settings/settings_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace hostlore {

class PageControl;

// The options dialog: every setting but the URL history, on four pages.
// Created once and shown modally as often as the user asks; each showing
// loads the stored values, and OK writes them all back in one go.
class Toptions : public QDialog {
    Q_OBJECT

  public:
    // Both references must outlive every showing. The title heads error boxes.
    Toptions(SettingsStore& settings, MessageBoxes& boxes, QString applicationTitle,
             QWidget* parent = nullptr);

    PageControl* PageControl1 = nullptr;

    // General.
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;

    // Whois Server.
    QLineEdit* Edit15 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;

    // Third Party URL: name and URL prefix of each service.
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QLineEdit* Edit14 = nullptr;

    // Proxy.
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;

    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // Cancel
    QPushButton* Button3 = nullptr;  // Default

    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void CheckBox1Click();
    void Edit2Exit();
    void Edit10Exit();
    void ListBox1Click(int row);
    void ListBox2Click(int row);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildDialog();
    QWidget* BuildGeneralPage();
    QWidget* BuildWhoisServerPage();
    QWidget* BuildThirdPartyPage();
    QWidget* BuildProxyPage();
    void CentreOnScreen();
    void ConnectServerList(QListWidget* list, void (Toptions::*handler)(int));
    // Refuses a text that is no integer with a box and puts the field's
    // fallback in; true when the text stands. Only for integer fields.
    bool CheckIntegerField(QLineEdit* field);
    // Every value the dialog shows, as OK writes it, in the order it writes.
    std::vector<SettingWrite> ChosenValues() const;

    SettingsStore& settings_;
    MessageBoxes& boxes_;
    QString applicationTitle_;
};

}  // namespace hostlore
