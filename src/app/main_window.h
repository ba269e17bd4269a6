#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

#include "app/guarded_handlers.h"
#include "app/main_services.h"
#include "net/anti_freeze.h"
#include "net/http_client.h"
#include "net/whois_client.h"
#include "query/handoff.h"
#include "query/tthread.h"
#include "settings/settings_store.h"

class QComboBox;
class QTimer;
class QToolButton;

namespace hostlore {

class GeneralInfoPage;
class HelpWindow;
class LocalNetworkPage;
class NeighbourhoodPage;
class PageControl;
class ServicePage;
class Tabout;
class Toptions;
class TPosition;
class WhoisInfoPage;

// The main window: the URL box, the eight pages, the menus, start-up,
// shutdown, and the query that sets every page to work.
class Tmain : public QMainWindow, public GuardedHandlers {
    Q_OBJECT

  public:
    explicit Tmain(MainServices services, QWidget* parent = nullptr);
    ~Tmain() override;

    std::unique_ptr<TNetWhois> NetWhois;
    std::unique_ptr<TNetHTTP> NetHTTP1;
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

    // The one settings store; null after shutdown has closed it.
    SettingsStore* Settings() const { return settings_.get(); }
    const std::shared_ptr<UiHandoff>& Handoff() const { return pump_.Handoff(); }
    QString ApplicationTitle() const;
    void ShowError(const QString& message) override;

    // Starts a worker of the current query; a newer query cuts it off the window.
    void StartQueryWorker(const std::shared_ptr<TThread>& worker);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildWindow();
    QWidget* BuildTopPanel();
    void BuildPages();

    // Made at first use: building them would cost the first window time.
    Toptions& OptionsDialog();
    Tabout& AboutBox();

    void FormCreate();
    void ShowLocalNetwork();
    void LoadStartValues();
    void FormClose();
    void FormDestroy();
    void RetireEarlierWorkers();

    MainServices services_;
    UiHandoffPump pump_;
    std::unique_ptr<SettingsStore> settings_;
    std::vector<std::weak_ptr<TThread>> queryWorkers_;

    QComboBox* url_edit = nullptr;
    QToolButton* go = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    PageControl* cxPageControl1 = nullptr;
    GeneralInfoPage* generalInfo_ = nullptr;
    WhoisInfoPage* whoisInfo_ = nullptr;
    std::vector<ServicePage*> servicePages_;
    NeighbourhoodPage* neighbourhood_ = nullptr;
    LocalNetworkPage* localNetwork_ = nullptr;
    Tabout* about = nullptr;
    HelpWindow* help_ = nullptr;
    Toptions* options = nullptr;
    std::unique_ptr<TPosition> Position1;
};

}  // namespace hostlore
