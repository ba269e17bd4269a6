#include "query/report/report_recorder.h"

#include "query/query_rules.h"
#include "query/whois/whois_referrals.h"
#include "region/whereis.h"

namespace hostlore {

namespace {

using Text = Reported<std::string>;
using Lines = Reported<std::vector<std::string>>;

constexpr const char* kWebsiteMissing = "Website does not exist!";
constexpr const char* kNotGiven = "not given";
constexpr const char* kFailedMark = "X";
constexpr const char* kNotNavigated = "not navigated";
constexpr const char* kNotRedirected = "not redirected";
constexpr const char* kPlainHttp = "answered over plain HTTP";
constexpr const char* kNoIpv4 = "no IPv4 address";

bool IsIpv6(const std::string& address) {
    return address.find(':') != std::string::npos;
}

}  // namespace

class ReportRecorder::GeneralInfo : public GeneralInfoView {
  public:
    GeneralInfo(GeneralInfoReport& report, GeneralInfoView* shown)
        : report_(report), shown_(shown) {}

    void Clear() override {
        report_ = {};
        Pass(&GeneralInfoView::Clear);
    }
    void AddAddressLine(const std::string& address) override {
        for (Lines* list : {&report_.addresses, &report_.ipv4, &report_.ipv6}) {
            if (!list->value) {
                *list = Lines::Of({});
            }
        }
        report_.addresses.value->push_back(address);
        (IsIpv6(address) ? report_.ipv6 : report_.ipv4).value->push_back(address);
        Pass(&GeneralInfoView::AddAddressLine, address);
    }
    void SetLocation(const std::string& region) override {
        report_.location = Text::Of(region);
        // The first IPv4 address decides, as it did for the page.
        if (report_.ipv4.value && !report_.ipv4.value->empty()) {
            const std::string& address = report_.ipv4.value->front();
            const RegionMatch match = RegionMatchOf(address);
            report_.region = Reported<RegionReport>::Of({address, match.block, match.rule});
        } else {
            report_.region = Reported<RegionReport>::Missing(kNoIpv4);
        }
        Pass(&GeneralInfoView::SetLocation, region);
    }
    void SetHostName(const std::string& name) override {
        report_.hostName = Text::Of(name);
        Pass(&GeneralInfoView::SetHostName, name);
    }
    void ShowWebsiteMissing() override {
        report_.addresses = report_.ipv4 = report_.ipv6 = Lines::Missing(kWebsiteMissing);
        report_.location = report_.hostName = Text::Missing(kWebsiteMissing);
        report_.region = Reported<RegionReport>::Missing(kWebsiteMissing);
        Pass(&GeneralInfoView::ShowWebsiteMissing);
    }
    void SetServerType(const std::string& server) override {
        report_.serverType = Text::Of(server);
        Pass(&GeneralInfoView::SetServerType, server);
    }
    void SetLastModified(const std::string& date) override {
        report_.lastModified = Text::Of(date);
        Pass(&GeneralInfoView::SetLastModified, date);
    }
    void ShowLastModifiedNotGiven() override {
        report_.lastModified = Text::Missing(kNotGiven, kNotGiven);
        Pass(&GeneralInfoView::ShowLastModifiedNotGiven);
    }
    void SetServerDate(const std::string& date) override {
        report_.serverDate = Text::Of(date);
        Pass(&GeneralInfoView::SetServerDate, date);
    }
    void ShowServerFailed(const std::string& reason) override {
        report_.serverType = report_.lastModified = report_.serverDate =
            Text::Missing(reason, kFailedMark);
        report_.finalAddress = Text::Missing(reason);
        report_.serverDateUtc = report_.lastModifiedUtc = Reported<std::int64_t>::Missing(reason);
        Pass(&GeneralInfoView::ShowServerFailed, reason);
    }
    void SetFinalAddress(const std::string& url) override {
        report_.finalAddress = url.empty() ? Text::Missing(kNotRedirected) : Text::Of(url);
        Pass(&GeneralInfoView::SetFinalAddress, url);
    }
    void SetCertificate(const std::string& summary) override {
        report_.certificate = summary.empty() ? Text::Missing(kPlainHttp) : Text::Of(summary);
        Pass(&GeneralInfoView::SetCertificate, summary);
    }
    void ShowCertificateFailed(const std::string& reason) override {
        report_.certificate = Text::Missing(reason, kFailedMark);
        Pass(&GeneralInfoView::ShowCertificateFailed, reason);
    }
    void ShowCertificateUnavailable(const std::string& reason) override {
        report_.certificate = Text::Missing(reason, reason);
        Pass(&GeneralInfoView::ShowCertificateUnavailable, reason);
    }
    void RecordServerChain(const ServerChainReport& chain) override {
        // Without a request made, the hops are missing for the reason it failed.
        const std::string& noRequest = report_.serverType.reason;
        report_.hops = chain.hops.empty() ? Reported<std::vector<HopReport>>::Missing(noRequest)
                                          : Reported<std::vector<HopReport>>::Of(chain.hops);
        const auto instant = [&](const std::optional<std::int64_t>& value) {
            if (chain.hops.empty()) {
                return Reported<std::int64_t>::Missing(noRequest);
            }
            return value ? Reported<std::int64_t>::Of(*value)
                         : Reported<std::int64_t>::Missing(kNotGiven);
        };
        report_.serverDateUtc = instant(chain.serverDate);
        report_.lastModifiedUtc = instant(chain.lastModified);
        report_.redirects.clear();
        for (const HopReport& hop : chain.hops) {
            if (!hop.location.empty()) {
                report_.redirects.push_back({hop.url, hop.status, hop.location});
            }
        }
        // Without a certificate its values are missing for the same reason.
        const std::string& noCertificate = report_.certificate.reason;
        report_.certificateSha256 = chain.certificateSha256.empty()
                                        ? Text::Missing(noCertificate)
                                        : Text::Of(chain.certificateSha256);
        report_.certificateDetails = chain.certificate
                                         ? Reported<CertificateReport>::Of(*chain.certificate)
                                         : Reported<CertificateReport>::Missing(noCertificate);
        Pass(&GeneralInfoView::RecordServerChain, chain);
    }

  private:
    template <class... Arguments>
    void Pass(void (GeneralInfoView::*call)(Arguments...), const auto&... arguments) {
        if (shown_ != nullptr) {
            (shown_->*call)(arguments...);
        }
    }

    GeneralInfoReport& report_;
    GeneralInfoView* shown_;
};

class ReportRecorder::Dns : public DnsRecordsView {
  public:
    Dns(DnsRecordsTable& report, DnsRecordsView* shown) : report_(report), shown_(shown) {}

    void ShowTable(const DnsRecordsTable& table) override {
        report_ = table;
        if (shown_ != nullptr) {
            shown_->ShowTable(table);
        }
    }

  private:
    DnsRecordsTable& report_;
    DnsRecordsView* shown_;
};

class ReportRecorder::WebServer : public WebServerView {
  public:
    WebServer(WebServerReport& report, WebServerView* shown) : report_(report), shown_(shown) {}

    void Clear() override {
        report_ = {};
        if (shown_ != nullptr) {
            shown_->Clear();
        }
    }
    void Show(const WebServerReport& report, const QString& text) override {
        report_ = report;
        if (shown_ != nullptr) {
            shown_->Show(report, text);
        }
    }

  private:
    WebServerReport& report_;
    WebServerView* shown_;
};

class ReportRecorder::Whois : public WhoisView {
  public:
    Whois(WhoisReport& report, WhoisView* shown) : report_(report), shown_(shown) {}

    void ClearReply() override {
        report_.answers.clear();
        report_.lines.clear();
        report_.record = {};
        if (shown_ != nullptr) {
            shown_->ClearReply();
        }
    }
    void RecordReply(const WhoisAnswer& answer) override {
        report_.answers.push_back(answer);
        AddMissingFields(report_.record, answer.fields);
        if (shown_ != nullptr) {
            shown_->RecordReply(answer);
        }
    }
    void AppendReplyLines(std::span<const std::string> lines) override {
        report_.lines.insert(report_.lines.end(), lines.begin(), lines.end());
        if (shown_ != nullptr) {
            shown_->AppendReplyLines(lines);
        }
    }

  private:
    WhoisReport& report_;
    WhoisView* shown_;
};

class ReportRecorder::Status : public RunStatusView {
  public:
    Status(RunState& state, std::string& failure, RunStatusView* shown)
        : state_(state), failure_(failure), shown_(shown) {}

    void ShowRunning() override { Set(RunState::Running, {}, &RunStatusView::ShowRunning); }
    void ShowDone() override { Set(RunState::Done, {}, &RunStatusView::ShowDone); }
    void ShowStopped() override { Set(RunState::Stopped, {}, &RunStatusView::ShowStopped); }
    void ShowFailed(const std::string& reason) override {
        state_ = RunState::Failed;
        failure_ = reason;
        if (shown_ != nullptr) {
            shown_->ShowFailed(reason);
        }
    }

  private:
    void Set(RunState state, std::string failure, void (RunStatusView::*call)()) {
        state_ = state;
        failure_ = std::move(failure);
        if (shown_ != nullptr) {
            (shown_->*call)();
        }
    }

    RunState& state_;
    std::string& failure_;
    RunStatusView* shown_;
};

class ReportRecorder::Pane : public ServicePaneView {
  public:
    Pane(ServiceReport& report, ServicePaneView* shown) : report_(report), shown_(shown) {}

    void Navigate(const std::string& url) override {
        report_.url = Text::Of(url);
        if (shown_ != nullptr) {
            shown_->Navigate(url);
        }
    }

  private:
    ServiceReport& report_;
    ServicePaneView* shown_;
};

class ReportRecorder::Neighbourhood : public NeighbourhoodView {
  public:
    Neighbourhood(NeighbourhoodReport& report, NeighbourhoodView* shown)
        : report_(report), shown_(shown) {}

    void ClearList() override {
        report_.items.clear();
        report_.notScanned.clear();
        if (shown_ != nullptr) {
            shown_->ClearList();
        }
    }
    void ShowNothingToScan(const std::string& reason) override {
        report_.items.clear();
        report_.notScanned = reason;
        if (shown_ != nullptr) {
            shown_->ShowNothingToScan(reason);
        }
    }
    void AppendItem(const std::string& text) override {
        report_.items.push_back(text);
        if (shown_ != nullptr) {
            shown_->AppendItem(text);
        }
    }
    void ReplaceLastItem(const std::string& text) override {
        if (!report_.items.empty()) {
            report_.items.back() = text;
        }
        if (shown_ != nullptr) {
            shown_->ReplaceLastItem(text);
        }
    }

  private:
    NeighbourhoodReport& report_;
    NeighbourhoodView* shown_;
};

class ReportRecorder::Local : public LocalNetworkView {
  public:
    Local(LocalNetworkReport& report, LocalNetworkView* shown) : report_(report), shown_(shown) {}

    void ShowParameters(const std::vector<std::string>& lines) override {
        report_.parameters = Lines::Of(lines);
        if (shown_ != nullptr) {
            shown_->ShowParameters(lines);
        }
    }
    void ShowAdapters(const std::vector<std::string>& lines) override {
        report_.adapters = Lines::Of(lines);
        if (shown_ != nullptr) {
            shown_->ShowAdapters(lines);
        }
    }

  private:
    LocalNetworkReport& report_;
    LocalNetworkView* shown_;
};

ReportRecorder::ReportRecorder(const QueryViews& shown, LocalNetworkView* shownLocal)
    : generalInfo_(std::make_unique<GeneralInfo>(report_.generalInfo, shown.generalInfo)),
      dns_(std::make_unique<Dns>(report_.dns, shown.dnsRecords)),
      webServer_(std::make_unique<WebServer>(report_.webServer, shown.webServer)),
      whois_(std::make_unique<Whois>(report_.whois, shown.whois)),
      whoisStatus_(
          std::make_unique<Status>(report_.whois.state, report_.whois.failure, shown.whoisStatus)),
      neighbourhood_(std::make_unique<Neighbourhood>(report_.neighbourhood, shown.neighbourhood)),
      scanStatus_(std::make_unique<Status>(report_.neighbourhood.state,
                                           report_.neighbourhood.failure, shown.scanStatus)),
      local_(std::make_unique<Local>(report_.localNetwork, shownLocal)) {
    views_.generalInfo = generalInfo_.get();
    views_.dnsRecords = dns_.get();
    views_.webServer = webServer_.get();
    views_.whois = whois_.get();
    views_.whoisStatus = whoisStatus_.get();
    views_.neighbourhood = neighbourhood_.get();
    views_.scanStatus = scanStatus_.get();
    for (std::size_t page = 0; page < panes_.size(); ++page) {
        report_.services[page].page = std::string(kPageNames[kSiteInfoPage + page]);
        panes_[page] = std::make_unique<Pane>(report_.services[page], shown.servicePanes[page]);
        views_.servicePanes[page] = panes_[page].get();
    }
}

ReportRecorder::~ReportRecorder() = default;

LocalNetworkView& ReportRecorder::LocalNetwork() {
    return *local_;
}

void ReportRecorder::Begin(const std::string& url, const Clock& clock,
                           const WhoisServerAddress& whoisServer) {
    report_.url = url;
    report_.localTime = LocalTimeText(clock);
    report_.startedAt = SecondsNow(clock);
    report_.generalInfo = {};
    report_.dns = {};
    report_.webServer = {};
    report_.whois = {};
    report_.whois.server = WhoisServerName(whoisServer);
    for (ServiceReport& service : report_.services) {
        service.url = Text::Missing(kNotNavigated);
    }
    report_.neighbourhood = {};
}

void ReportRecorder::SetServiceCaption(std::size_t page, std::string caption) {
    report_.services.at(page).caption = std::move(caption);
}

}  // namespace hostlore
