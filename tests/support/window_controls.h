#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/page_control.h"

namespace hostlore::test {

// The control of the given kind and object name inside `root`; the test
// fails when there is none.
template <class Control>
Control* Find(const QObject& root, const char* name) {
    auto* control = root.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << "no control named " << name;
    return control;
}

// The main window's controls, found by the names users and screen readers know.
struct MainWindowControls {
    explicit MainWindowControls(const QObject& window)
        : url_edit(Find<QComboBox>(window, "url_edit")),
          go(Find<QToolButton>(window, "go")),
          SpeedButton2(Find<QToolButton>(window, "SpeedButton2")),
          cxPageControl1(Find<PageControl>(window, "cxPageControl1")),
          Banner(Find<QLabel>(window, "Banner")),
          Edit1(Find<QLineEdit>(window, "Edit1")),
          Memo1(Find<QPlainTextEdit>(window, "Memo1")),
          Edit4(Find<QLineEdit>(window, "Edit4")),
          Edit2(Find<QLineEdit>(window, "Edit2")),
          Edit3(Find<QLineEdit>(window, "Edit3")),
          Edit5(Find<QLineEdit>(window, "Edit5")),
          FinalAddress(Find<QPlainTextEdit>(window, "FinalAddress")),
          Certificate(Find<QPlainTextEdit>(window, "Certificate")),
          whois_stop(Find<QToolButton>(window, "whois_stop")),
          Label5(Find<QLabel>(window, "Label5")),
          Memo3(Find<QPlainTextEdit>(window, "Memo3")),
          Label12(Find<QLabel>(window, "Label12")),
          Label18(Find<QLabel>(window, "Label18")),
          Label13(Find<QLabel>(window, "Label13")),
          Label14(Find<QLabel>(window, "Label14")),
          ip_nei_stop(Find<QToolButton>(window, "ip_nei_stop")),
          Label11(Find<QLabel>(window, "Label11")),
          Label15(Find<QLabel>(window, "Label15")),
          ListBox1(Find<QListWidget>(window, "ListBox1")),
          PopupMenu1(Find<QMenu>(window, "PopupMenu1")),
          Memo4(Find<QPlainTextEdit>(window, "Memo4")),
          Memo2(Find<QPlainTextEdit>(window, "Memo2")),
          Exit1(Find<QAction>(window, "Exit1")),
          Options2(Find<QAction>(window, "Options2")),
          HelpTopic1(Find<QAction>(window, "HelpTopic1")),
          EmailSupport1(Find<QAction>(window, "EmailSupport1")),
          HostloreWebsite1(Find<QAction>(window, "HostloreWebsite1")),
          About1(Find<QAction>(window, "About1")) {}

    QComboBox* url_edit;
    QToolButton* go;
    QToolButton* SpeedButton2;
    PageControl* cxPageControl1;
    QLabel* Banner;
    QLineEdit* Edit1;
    QPlainTextEdit* Memo1;
    QLineEdit* Edit4;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit5;
    QPlainTextEdit* FinalAddress;
    QPlainTextEdit* Certificate;
    QToolButton* whois_stop;
    QLabel* Label5;
    QPlainTextEdit* Memo3;
    QLabel* Label12;
    QLabel* Label18;
    QLabel* Label13;
    QLabel* Label14;
    QToolButton* ip_nei_stop;
    QLabel* Label11;
    QLabel* Label15;
    QListWidget* ListBox1;
    QMenu* PopupMenu1;
    QPlainTextEdit* Memo4;
    QPlainTextEdit* Memo2;
    QAction* Exit1;
    QAction* Options2;
    QAction* HelpTopic1;
    QAction* EmailSupport1;
    QAction* HostloreWebsite1;
    QAction* About1;
};

inline MainWindowControls Ui(const QObject& window) {
    return MainWindowControls(window);
}

}  // namespace hostlore::test
