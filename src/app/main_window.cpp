#include "app/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>

#include "app/about_box.h"
#include "app/first_paint.h"
#include "app/main_menus.h"
#include "app/options/options_dialog.h"
#include "app/options/window_position.h"
#include "app/page_control.h"
#include "app/program_style.h"
#include "app/selection_cut_key.h"
#include "app/side_windows.h"
#include "app/url_box.h"
#include "app/url_box_keys.h"
#include "app/window_pages.h"
#include "platform/program_files.h"
#include "query/report/report_file.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"
#include "settings/url_history.h"

namespace hostlore {

namespace {

const QString kSupportMail = QStringLiteral("mailto:support@hostlore.example");
const QString kWebSite = QStringLiteral("https://hostlore.example/");

}  // namespace

Tmain::Tmain(MainServices services, QWidget* parent)
    : QMainWindow(parent),
      NetAntiFreeze1(std::make_shared<TNetAntiFreeze>()),
      services_(std::move(services)),
      sideWindows_(std::make_unique<SideWindows>(*this, services_, DisplayName(), kWebSite)) {
    TNetAntiFreeze::Install(NetAntiFreeze1);
    UseProgramStyle();
    BuildWindow();
    MainMenuHandlers menu;
    menu.SaveReport1Click = Guarded([this] { SaveReport1Click(); });
    menu.Exit1Click = Guarded([this] { close(); });
    menu.Options2Click = Guarded([this] {
        if (sideWindows_->Options(*settings_).exec() == QDialog::Accepted) {
            ReadConnectionSettings();
        }
    });
    menu.HelpTopic1Click = Guarded([this] { HelpTopic1Click(); });
    menu.EmailSupport1Click = Guarded([this] { services_.shell->Open(kSupportMail); });
    menu.HostloreWebsite1Click = Guarded([this] { services_.shell->Open(kWebSite); });
    menu.About1Click = Guarded([this] { sideWindows_->About().exec(); });
    BuildMainMenus(*menuBar(), menu);
    // Once the menus are in, since they add to the height it centres.
    Position1 = std::make_unique<TPosition>(
        *this, PositionFile(services_.settingsFolder, services_.executable));
    Position1->Restore();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
    connect(go, &QToolButton::clicked, this, Guarded([this] { goClick(go); }));
    connect(SpeedButton2, &QToolButton::clicked, this, Guarded([this] { SpeedButton2Click(); }));
    new UrlBoxKeys(*url_edit, Guarded([this] {
        QChar carriageReturn('\r');
        url_editKeyPress(url_edit, carriageReturn);
    }));
    new SelectionCutKey(*this);
    FormCreate();
    // Boxes shown while starting run event loops: nothing may fire before now.
    Timer1->start();
    if (!connection_.ignoredProxySetting.empty()) {
        // Once the window is up, so that the box stands over it.
        QTimer::singleShot(0, this, [this] { ShowIgnoredProxySetting(); });
    }
}

Tmain::~Tmain() {
    try {
        Position1->Save();
    } catch (const std::exception& error) {
        // The history is saved all the same.
        ShowError(QString::fromUtf8(error.what()));
    }
    FormDestroy();
}

QString Tmain::ApplicationTitle() const {
    return QString::fromStdString(hostlore::ApplicationTitle(services_.executable));
}

QString Tmain::DisplayName() {
    return QStringLiteral("Hostlore");
}

void Tmain::ShowError(const QString& message) {
    ShowErrorBox(*services_.messageBoxes, this, DisplayName(), message);
}

void Tmain::ShowIgnoredProxySetting() {
    services_.messageBoxes->ShowOk(
        this,
        QStringLiteral("The proxy is not used: the setting %1 in section proxy of settings.ini is "
                       "not a valid integer value. Correct it under Options, Proxy.")
            .arg(QString::fromStdString(connection_.ignoredProxySetting)),
        DisplayName(), BoxIcon::Warning);
}

void Tmain::FormCreate() {
    settings_ = std::make_unique<SettingsStore>(services_.settingsFolder / "settings.ini");
    // The pages the first window does not show, and the report, which reads
    // a dozen system files for one of them, come once it is up. A failure
    // loses the report, not the program, and the start-up query waits until
    // its box is closed.
    AfterFirstPaint(this, [this] {
        if (Timer1 == nullptr) {
            return;  // closed as soon as it was shown
        }
        const bool queryWaiting = Timer1->isActive();
        Timer1->stop();
        Guarded([this] {
            EnsureAllPages();
            pages_->ShowLocalNetwork();
        })();
        if (queryWaiting) {
            Timer1->start();
        }
    });
    try {
        LoadStartValues();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
    if (!services_.pagesAfterFirstPaint) {
        EnsureAllPages();
    }
}

ReportRecorder& Tmain::EnsureAllPages() {
    if (pages_->Recorder() == nullptr) {
        pages_->MakeAll(*settings_);
    }
    return *pages_->Recorder();
}

void Tmain::LoadStartValues() {
    const std::string defaultUrl =
        settings_->ReadString(setting::kGeneral, setting::kDefaultUrl, setting::kDefaultWebSite);
    if (!defaultUrl.empty()) {
        url_edit->setEditText(QString::fromStdString(defaultUrl));
    }
    if (!services_.startUrl.empty()) {
        url_edit->setEditText(QString::fromStdString(services_.startUrl));
    } else if (ReadFlagOnUnlessFalse(*settings_, setting::kGeneral, setting::kGetBrowserUrl)) {
        if (const std::string url = GetBrowserURL(*services_.browserUrls); url != kNoUrl) {
            url_edit->setEditText(QString::fromStdString(url));
        }
    }
    ReadConnectionSettings();
    AddUrlBoxEntries(*url_edit, LoadHistory(*settings_));
}

void Tmain::HelpTopic1Click() {
    sideWindows_->ShowManual();
}

void Tmain::ReadConnectionSettings() {
    connection_ = hostlore::ReadConnectionSettings(*settings_);
}

void Tmain::StartQuery(const std::string& url) {
    ReportRecorder& recorder = EnsureAllPages();
    recorder.Begin(url, *services_.clock, connection_.whoisServer);
    auto next = std::make_unique<QueryRun>(
        url, recorder.Views(),
        QueryServices{Handoff(), services_.resolver, services_.whois, services_.dns}, connection_,
        *settings_);
    next->Start(run_.get());
    run_ = std::move(next);
}

void Tmain::SaveReport1Click() {
    const auto file = services_.saveFiles->ChooseReportFile(this);
    if (!file) {
        return;
    }
    QueryReport report = EnsureAllPages().Report();
    report.complete = run_ && run_->Finished();
    SaveReport(*file, report);
}

void Tmain::SpeedButton2Click() {
    const std::string url = GetBrowserURL(*services_.browserUrls);
    if (url == kNoUrl) {
        services_.messageBoxes->ShowOk(this, QStringLiteral("No URL in the Internet Explorer!"),
                                       QString(), BoxIcon::Warning);
        return;
    }
    url_edit->setEditText(QString::fromStdString(url));
    goClick(SpeedButton2);
}

void Tmain::Timer1Timer() {
    Timer1->stop();
    EnsureAllPages();
    // All but the first and the last, Local Network Info.
    for (int page = 1; page + 1 < cxPageControl1->count(); ++page) {
        cxPageControl1->setCurrentIndex(page);
    }
    cxPageControl1->setCurrentIndex(0);
    // An address from the command line is queried whatever the settings say.
    if (settings_ && (!services_.startUrl.empty() ||
                      ReadFlagOnUnlessFalse(*settings_, setting::kGeneral, setting::kExecute))) {
        goClick(Timer1);
    }
}

void Tmain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void Tmain::FormClose() {
    if (settings_ && url_edit->count() > 0) {
        try {
            SaveHistory(*settings_, UrlBoxEntries(*url_edit));
        } catch (const std::exception& error) {
            // The program ends all the same; the user learns what was not saved.
            ShowError(QString::fromUtf8(error.what()));
        }
    }
    settings_.reset();
    delete Timer1;
    Timer1 = nullptr;
}

void Tmain::FormDestroy() {
    // Workers still running find the window gone at their next hand-off.
    pump_.Handoff()->Close();
    TNetAntiFreeze::Uninstall(NetAntiFreeze1.get());
}

}  // namespace hostlore
