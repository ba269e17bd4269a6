#pragma once

// app/: the window, its menus, side windows and dialogs, with Qt Widgets; may include every folder
// of src/. main.cpp and report_command build without widgets and include only the core.

#include <QMainWindow>
#include <memory>

#include "app/guarded_handlers.h"
#include "app/main_services.h"
#include "net/anti_freeze.h"
#include "query/connection_settings.h"
#include "query/query_run.h"
#include "query/report/report_recorder.h"
#include "query/thread/handoff.h"
#include "settings/settings_store.h"

class QComboBox;
class QTimer;
class QToolButton;

namespace hostlore {

class PageControl;
class SideWindows;
class TPosition;
class WindowPages;

// The main window: the URL box, the pages, the menus, start-up,
// shutdown, and the query that sets every page to work.
class Tmain : public QMainWindow, public GuardedHandlers {
    Q_OBJECT

  public:
    explicit Tmain(MainServices services, QWidget* parent = nullptr);
    ~Tmain() override;

    std::shared_ptr<TNetAntiFreeze> NetAntiFreeze1;
    QTimer* Timer1 = nullptr;

    void goClick(QObject* sender);
    void url_editKeyPress(QObject* sender, QChar& key);
    void whois_stopClick(QObject* sender);
    void ip_nei_stopClick(QObject* sender);
    void SpeedButton2Click();
    void Timer1Timer();
    // The manual in the program's own window, or through the desktop when the
    // panes cannot show pages.
    void HelpTopic1Click();
    // File > Save Report: what the pages show now, as text or JSON.
    void SaveReport1Click();

    // The one settings store; null after shutdown has closed it.
    SettingsStore* Settings() const { return settings_.get(); }
    const std::shared_ptr<UiHandoff>& Handoff() const { return pump_.Handoff(); }
    QString ApplicationTitle() const;
    // The program's name as users read it: the window's title and the title
    // of its message boxes.
    static QString DisplayName();
    void ShowError(const QString& message) override;

    // Where the query's clients connect, as last read from the settings.
    const ConnectionSettings& Connection() const { return connection_; }
    // The newest query's run; null before the first.
    const QueryRun* CurrentRun() const { return run_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildWindow();
    QWidget* BuildTopPanel();
    // The pages after the first and their recorder are missing until this has
    // run; whatever reaches them calls it first.
    ReportRecorder& EnsureAllPages();

    void FormCreate();
    void LoadStartValues();
    void FormClose();
    void FormDestroy();
    void ReadConnectionSettings();
    void StartQuery(const std::string& url);
    void ShowIgnoredProxySetting();

    MainServices services_;
    UiHandoffPump pump_;
    std::unique_ptr<SettingsStore> settings_;
    ConnectionSettings connection_;
    std::unique_ptr<QueryRun> run_;

    QComboBox* url_edit = nullptr;
    QToolButton* go = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    PageControl* cxPageControl1 = nullptr;
    std::unique_ptr<WindowPages> pages_;
    std::unique_ptr<SideWindows> sideWindows_;
    std::unique_ptr<TPosition> Position1;
};

}  // namespace hostlore
