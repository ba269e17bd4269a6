#include "app/window_pages.h"

#include "app/drawn_icons.h"
#include "app/page_control.h"
#include "app/pages/dns_records_page.h"
#include "app/pages/general_info_page.h"
#include "app/pages/local_network_page.h"
#include "app/pages/neighbourhood_page.h"
#include "app/pages/page_widgets.h"
#include "app/pages/service_page.h"
#include "app/pages/web_server_page.h"
#include "app/pages/whois_info_page.h"
#include "app/selection_cut_key.h"
#include "localinfo/network_report.h"
#include "query/query_rules.h"
#include "query/service_panes/service_urls.h"

namespace hostlore {

namespace {

// Trailing blanks give the vertical captions similar lengths.
constexpr int kTabCaptionLength = 16;

const std::array<ServicePageNames, 4> kServicePageNames = {{
    {"Label12", "WebBrowser1", {"SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton6"}},
    {"Label18", "WebBrowser3", {"SpeedButton1", "SpeedButton15", "SpeedButton16", "SpeedButton17"}},
    {"Label13", "WebBrowser2", {"SpeedButton7", "SpeedButton8", "SpeedButton9", "SpeedButton10"}},
    {"Label14",
     "WebBrowser4",
     {"SpeedButton11", "SpeedButton12", "SpeedButton13", "SpeedButton14"}},
}};

QString PageName(std::size_t index) {
    return QString::fromLatin1(kPageNames[index].data(),
                               static_cast<qsizetype>(kPageNames[index].size()));
}

}  // namespace

WindowPages::WindowPages(PageControl& control, const MainServices& services, PageHandlers handlers)
    : control_(control), services_(services), handlers_(std::move(handlers)) {
    generalInfo_ = new GeneralInfoPage(*services_.messageBoxes);
    const QIcon pageIcon = MakeDrawnIcon(DrawnIcon::PageInfo);
    const QIcon localIcon = MakeDrawnIcon(DrawnIcon::Computer);
    for (std::size_t i = 0; i < kPageNames.size(); ++i) {
        // An empty page stands in for each of the others until they are made.
        QWidget* page = i == 0 ? generalInfo_ : new QWidget;
        page->setObjectName(PageName(i));
        control_.addPage(page, i + 1 < kPageNames.size() ? pageIcon : localIcon,
                         PageName(i).leftJustified(kTabCaptionLength));
    }
    QFont tabFont = ArialFont(8);
    tabFont.setUnderline(true);
    control_.setTabFont(tabFont);
}

WindowPages::~WindowPages() = default;

void WindowPages::MakeAll(const SettingsStore& settings) {
    MakeHiddenPages();
    QueryViews shown;
    shown.generalInfo = generalInfo_;
    shown.dnsRecords = dnsRecords_;
    shown.webServer = webServer_;
    shown.whois = whoisInfo_;
    shown.whoisStatus = &whoisInfo_->Status();
    for (std::size_t i = 0; i < servicePages_.size(); ++i) {
        shown.servicePanes.at(i) = servicePages_[i];
    }
    shown.neighbourhood = neighbourhood_;
    shown.scanStatus = &neighbourhood_->Status();
    recorder_ = std::make_unique<ReportRecorder>(shown, localNetwork_);
    ShowServiceCaptions(settings);
}

void WindowPages::MakeHiddenPages() {
    servicePages_.clear();  // after a build that failed part-way
    int next = 1;
    // Each page takes the place of its stand-in, in tab order.
    const auto place = [this, &next](auto* page) {
        page->setObjectName(PageName(static_cast<std::size_t>(next)));
        control_.setPage(next++, page);
        new SelectionCutKey(*page);
        return page;
    };
    dnsRecords_ = place(new DnsRecordsPage);
    webServer_ = place(new WebServerPage);
    whoisInfo_ = place(new WhoisInfoPage(*services_.clock, handlers_.stopWhois));
    for (const ServicePageNames& names : kServicePageNames) {
        servicePages_.push_back(place(new ServicePage(PageName(static_cast<std::size_t>(next)),
                                                      names, services_.webPanes())));
    }
    neighbourhood_ =
        place(new NeighbourhoodPage(*services_.shell, handlers_.queryHost, handlers_.stopScan));
    localNetwork_ = place(new LocalNetworkPage);
}

void WindowPages::ShowServiceCaptions(const SettingsStore& settings) {
    for (std::size_t i = 0; i < servicePages_.size(); ++i) {
        const std::string caption = ServiceCaption(settings, kServiceKeys[i]);
        servicePages_[i]->SetCaption(QString::fromStdString(caption));
        recorder_->SetServiceCaption(i, caption);
    }
}

void WindowPages::ShowLocalNetwork() {
    NetworkConfigurationSource& machine = *services_.networkConfiguration;
    LocalNetworkView& page = recorder_->LocalNetwork();
    page.ShowParameters(NetworkParameterLines(machine.GetNetworkParams()));
    page.ShowAdapters(AdapterLines(machine.GetAdaptersInfo()));
}

}  // namespace hostlore
