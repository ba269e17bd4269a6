#include "query/general_info/serverinfo_thread.h"

#include <chrono>

#include "net/certificate_info.h"
#include "net/http_date.h"
#include "net/tls_layer.h"
#include "platform/ascii_text.h"
#include "platform/user_time_format.h"
#include "query/failure_reason.h"
#include "query/host_names.h"
#include "query/web_server/web_server_text.h"

namespace hostlore {

namespace {

// The certificate of the server that answered, with what its handshake settled on.
CertificateReport CertificateValues(const TNetCertificateInfo& certificate, const HopReport& hop,
                                    std::chrono::system_clock::time_point now) {
    constexpr std::int64_t kSecondsPerDay = 86'400;
    const std::int64_t secondsLeft =
        certificate.NotAfter -
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    // Rounded down, also below zero: a day into the past is -1.
    const std::int64_t daysLeft = secondsLeft >= 0 ? secondsLeft / kSecondsPerDay
                                                   : -((-secondsLeft - 1) / kSecondsPerDay) - 1;
    CertificateReport values;
    values.subject = certificate.SubjectName;
    values.issuer = certificate.IssuerName;
    values.alternativeNames = certificate.AlternativeNames;
    values.notBefore = certificate.NotBefore;
    values.notAfter = certificate.NotAfter;
    values.daysLeft = daysLeft;
    values.verdict = std::string(CertificateVerdictName(certificate.Status));
    values.sha256 = certificate.Sha256Fingerprint;
    values.tlsVersion = hop.tlsVersion;
    values.cipher = hop.tlsCipher;
    return values;
}

// A header of the reply as an instant.
std::optional<std::int64_t> DateHeader(const HopReport& hop, std::string_view name) {
    for (const auto& [field, value] : hop.headers) {
        if (EqualsIgnoringCase(field, name)) {
            return InternetDateSeconds(value);
        }
    }
    return std::nullopt;
}

}  // namespace

serverinfo_thread::serverinfo_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                                     GeneralInfoView& page, const ConnectionSettings& connection,
                                     std::shared_ptr<Resolver> resolver, WebServerView* webServer)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_unique<TNetHTTP>(resolver)),
      webServer_(webServer) {
    client_->SocksInfo = connection.socks;
    client_->ExchangeTimeoutMs = connection.httpDeadlineMs;
    client_->NetworkURL = UrlWithNetworkHost;
    // A stop that came while a connection was made closes it once made.
    client_->OnConnected = [this] {
        if (stopped_) {
            client_->CloseConnection();
        }
    };
    if (webServer_ != nullptr) {
        feed_ = std::make_unique<WebServerFeed>(connection.socks, std::move(resolver),
                                                connection.httpDeadlineMs);
        // A server's HTTP/2 check starts once the chain is connected to it: its
        // handshake goes on while the request's thread checks the certificate,
        // the longest time the request spends on neither the network nor the
        // server.
        client_->OnConnectionMade = [this](const std::string& url) { feed_->Reach(url); };
        client_->OnRequestSent = [this](const std::string& /*url*/) { ShowHopsSoFar(); };
        // The page has all it shows once the reply is read and the check is
        // over: it need not wait for the probe for a close, nor for General
        // Info's fields.
        client_->OnHeadAnswered = [this] {
            if (feed_->Ready(*client_)) {
                ShowWebServer(true, {});
            }
        };
    }
}

void serverinfo_thread::StopConnections() {
    stopped_ = true;
    client_->CloseConnection();
    if (feed_) {
        feed_->Stop();
    }
}

// While the reply comes, the hops before this one show (the last shows with
// all the rest), without waiting for the window: a busy window neither holds
// the request up nor counts in the time of its hop.
void serverinfo_thread::ShowHopsSoFar() {
    if (client_->Hops.empty()) {
        return;
    }
    WebServerReport report;
    report.hops = HopsOf(*client_);
    PostWebServer(std::move(report));
}

void serverinfo_thread::Execute() {
    try {
        // A host that is no valid international name is as unknown as one the
        // resolver does not know.
        const auto url = UrlWithNetworkHost(url_);
        if (!url) {
            throw ENetSocketError(11001);
        }
        client_->SendHead(*url);
    } catch (const std::exception& error) {
        const std::string reason = FailureReason(error);
        Synchronize([&] { page_.ShowServerFailed(reason); });
        if (dynamic_cast<const ENetTlsUnavailable*>(&error) != nullptr) {
            Synchronize([&] { page_.ShowCertificateUnavailable(reason); });
            RecordChain(false);
            ShowWebServer(false, reason);
            return;
        }
        // A certificate is worth showing when its server answered, if only
        // with an error; a redirect that was refused leaves none.
        const bool replied = dynamic_cast<const ENetProtocolReplyError*>(&error) != nullptr;
        const bool refusedRedirect = dynamic_cast<const ENetRedirectRefused*>(&error) != nullptr;
        const std::string summary = refusedRedirect ? std::string() : CertificateText();
        if (summary.empty()) {
            Synchronize([&] { page_.ShowCertificateFailed(reason); });
        } else {
            Synchronize([&] { page_.SetCertificate(summary); });
        }
        RecordChain(!summary.empty());
        // A reply outside class 2 is shown as any other.
        ShowWebServer(replied, replied && !refusedRedirect ? std::string() : reason);
        return;
    }
    const TNetHeaderInfo& reply = client_->ReplyHeaders;
    Synchronize([&] { page_.SetServerType(reply.Server); });
    // A missing or unreadable header reads as the date of no text; no other
    // date may stand in for one the server never sent.
    const std::string lastModified = ShortDateText(reply.LastModified);
    if (lastModified == ShortDateText(InternetDateToLocal(""))) {
        Synchronize([&] { page_.ShowLastModifiedNotGiven(); });
    } else {
        Synchronize([&] { page_.SetLastModified(lastModified); });
    }
    const std::string serverDate = ShortDateText(reply.Date);
    Synchronize([&] { page_.SetServerDate(serverDate); });
    Synchronize([&] { page_.SetFinalAddress(client_->FinalURL); });
    const std::string summary = CertificateText();
    Synchronize([&] { page_.SetCertificate(summary); });
    RecordChain(!summary.empty());
    ShowWebServer(true, {});
}

void serverinfo_thread::ShowWebServer(bool replyRead, const std::string& failure) {
    if (!feed_ || webServerShown_) {
        return;
    }
    webServerShown_ = true;
    feed_->Finish(*client_, replyRead, failure,
                  [this](const WebServerReport& report) { PostWebServer(report); });
}

void serverinfo_thread::PostWebServer(WebServerReport report) {
    QString text = WebServerDisplayText(WebServerLines(report));
    Post([this, report = std::move(report), text = std::move(text)] {
        webServer_->Show(report, text);
    });
}

std::string serverinfo_thread::CertificateText() const {
    const auto& certificate = client_->PeerCertificate;
    return certificate ? CertificateSummary(*certificate, std::chrono::system_clock::now())
                       : std::string();
}

void serverinfo_thread::RecordChain(bool certificateShown) {
    ServerChainReport chain;
    chain.hops = HopsOf(*client_);
    if (!chain.hops.empty()) {
        chain.serverDate = DateHeader(chain.hops.back(), "Date");
        chain.lastModified = DateHeader(chain.hops.back(), "Last-Modified");
    }
    // The certificate's values go with the certificate the page shows, if any.
    if (certificateShown) {
        chain.certificateSha256 = client_->PeerCertificate->Sha256Fingerprint;
        chain.certificate = CertificateValues(*client_->PeerCertificate,
                                              chain.hops.empty() ? HopReport{} : chain.hops.back(),
                                              std::chrono::system_clock::now());
    }
    Synchronize([&] { page_.RecordServerChain(chain); });
}

}  // namespace hostlore
