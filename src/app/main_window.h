#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

#include "app/main_services.h"
#include "net/anti_freeze.h"
#include "net/http_client.h"
#include "net/whois_client.h"
#include "query/handoff.h"
#include "query/tthread.h"
#include "settings/settings_store.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace hostlore {

class PageControl;
class Tabout;

// The main window: the URL box, the eight pages, the menus, start-up and shutdown.
class Tmain : public QMainWindow {
    Q_OBJECT

  public:
    explicit Tmain(MainServices services, QWidget* parent = nullptr);
    ~Tmain() override;

    // Top panel.
    QComboBox* url_edit = nullptr;
    QToolButton* go = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    PageControl* cxPageControl1 = nullptr;

    // General Info.
    QLabel* Banner = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit5 = nullptr;

    // Whois Info.
    QToolButton* whois_stop = nullptr;
    QLabel* Label5 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;

    // The four service pages, in page order: Site Info, Whois Source,
    // Backward Links, Similar Pages.
    QLabel* Label12 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;

    // IP Neighborhood.
    QToolButton* ip_nei_stop = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label15 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    // Local Network Info.
    QPlainTextEdit* Memo4 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;

    std::unique_ptr<TNetWhois> NetWhois;
    std::unique_ptr<TNetHTTP> NetHTTP1;
    std::shared_ptr<TNetAntiFreeze> NetAntiFreeze1;
    QTimer* Timer1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* HelpTopic1 = nullptr;
    QAction* EmailSupport1 = nullptr;
    QAction* HostloreWebsite1 = nullptr;
    QAction* About1 = nullptr;
    Tabout* about = nullptr;

    void goClick(QObject* sender);
    void url_editKeyPress(QObject* sender, QChar& key);
    void whois_stopClick(QObject* sender);
    void ip_nei_stopClick(QObject* sender);
    void whois_button_active(TThread& sender);
    void ip_nei_button_active(TThread& sender);

    void SpeedButton2Click();
    void GetNetworkParameters();
    void GetAdapterInformation();
    void Timer1Timer();
    void Exit1Click();
    void HelpTopic1Click();
    void EmailSupport1Click();
    void HostloreWebsite1Click();
    void About1Click();

    // The one settings store; null after shutdown has closed it.
    SettingsStore* Settings() const { return settings_.get(); }
    const std::shared_ptr<UiHandoff>& Handoff() const { return pump_.Handoff(); }
    const MainServices& Services() const { return services_; }
    QString ApplicationTitle() const;

    // Shows a failure the way an escaped error is shown: an error box titled
    // with the application's title, the message ending in a full stop.
    void ShowError(const QString& message);

    // Wraps an event handler so that a failure escaping it is shown in an error
    // box instead of unwinding through Qt's event loop.
    template <class Handler>
    auto Guarded(Handler handler) {
        return [this, handler] {
            try {
                handler();
            } catch (const std::exception& error) {
                ShowError(QString::fromUtf8(error.what()));
            }
        };
    }

    // Starts a query's worker that cannot be stopped; a newer query cuts it
    // off the window.
    void StartQueryWorker(const std::shared_ptr<TThread>& worker);
    // Start the worker of the whois page or of the scan: it becomes the one
    // its stop button stops, and its page shows it running.
    void StartWhoisWorker(const std::shared_ptr<TThread>& worker);
    // The whois worker most recently started, while it lives.
    const std::weak_ptr<TThread>& WhoisWorker() const { return whoisWorker_; }
    void StartNeighbourWorker(const std::shared_ptr<TThread>& worker);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildWindow();
    void BuildMenus();
    QWidget* BuildTopPanel();
    QWidget* BuildGeneralInfoPage();
    QWidget* BuildWhoisPage();
    QWidget* BuildServicePage(QLabel*& caption, const char* captionName, const QString& pageName,
                              const std::array<const char*, 4>& buttonNames);
    QWidget* BuildNeighbourhoodPage();
    QWidget* BuildLocalNetworkPage();

    void FormCreate();
    void FormClose();
    void FormDestroy();
    void RetireEarlierWorkers();
    void ClearGeneralInfo();

    MainServices services_;
    UiHandoffPump pump_;
    std::unique_ptr<SettingsStore> settings_;
    std::weak_ptr<TThread> whoisWorker_;
    std::weak_ptr<TNetTCPConnection> whoisConnection_;
    std::weak_ptr<TThread> neighbourWorker_;
    std::vector<std::weak_ptr<TThread>> queryWorkers_;
};

}  // namespace hostlore
