#include "query/general_info/serverinfo_thread.h"

#include <chrono>

#include "net/certificate_info.h"
#include "net/http_date.h"
#include "net/tls_layer.h"
#include "platform/ascii_text.h"
#include "platform/user_time_format.h"
#include "query/failure_reason.h"
#include "query/host_names.h"

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
                                     std::shared_ptr<Resolver> resolver)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_unique<TNetHTTP>(std::move(resolver))) {
    client_->SocksInfo = connection.socks;
    client_->ExchangeTimeoutMs = connection.httpDeadlineMs;
    client_->NetworkURL = UrlWithNetworkHost;
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
            return;
        }
        // A certificate is worth showing when its server answered, if only
        // with an error; a redirect that was refused leaves none.
        const bool refusedRedirect = dynamic_cast<const ENetRedirectRefused*>(&error) != nullptr;
        const std::string summary = refusedRedirect ? std::string() : CertificateText();
        if (summary.empty()) {
            Synchronize([&] { page_.ShowCertificateFailed(reason); });
        } else {
            Synchronize([&] { page_.SetCertificate(summary); });
        }
        RecordChain(!summary.empty());
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
}

std::string serverinfo_thread::CertificateText() const {
    const auto& certificate = client_->PeerCertificate;
    return certificate ? CertificateSummary(*certificate, std::chrono::system_clock::now())
                       : std::string();
}

void serverinfo_thread::RecordChain(bool certificateShown) {
    ServerChainReport chain;
    for (const TNetHop& hop : client_->Hops) {
        HopReport& report = chain.hops.emplace_back();
        report.url = hop.URL;
        report.method = hop.Method;
        report.status = hop.ReplyCode;
        report.statusText = hop.ReplyText;
        report.httpVersion = hop.Version;
        for (const TNetHeaderField& field : hop.Headers) {
            report.headers.emplace_back(field.Name, field.Value);
        }
        report.milliseconds = hop.Milliseconds;
        report.location = hop.Target;
        report.tlsVersion = hop.TlsVersion;
        report.tlsCipher = hop.TlsCipher;
    }
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
