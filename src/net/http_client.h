#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "net/certificate_info.h"
#include "net/http_headers.h"
#include "net/net_errors.h"
#include "net/tcp_client.h"

namespace hostlore {

// A reply the client does not accept: a redirect or a status outside 200-299.
class ENetProtocolReplyError : public ENetException {
  public:
    ENetProtocolReplyError(const std::string& replyText, std::int32_t replyCode)
        : ENetException(replyText), replyCode_(replyCode) {}
    std::int32_t ReplyCode() const { return replyCode_; }

  private:
    std::int32_t replyCode_;
};

// A URL port that no TCP connection can have; it must not wrap to another port.
class ENetInvalidPortNumber : public ENetException {
  public:
    explicit ENetInvalidPortNumber(const std::string& portText)
        : ENetException("Invalid port number: " + portText) {}
};

// A server whose certificate failed the check, for a request that trusts
// what it reads.
class ENetCertificateRejected : public ENetException {
  public:
    explicit ENetCertificateRejected(const TNetCertificateInfo& certificate)
        : ENetException("Certificate not accepted: " + CertificateOutcome(certificate)) {}
};

enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };

// One redirect that was followed: the URL asked for, its reply's status and
// the absolute URL its Location named.
struct TNetRedirect {
    std::string URL;
    std::int32_t ReplyCode;
    std::string Target;
};

// Asks a web server for the response headers of one URL with a HEAD request,
// over TLS for an https URL.
class TNetHTTP : public TNetTCPClient {
  public:
    explicit TNetHTTP(std::shared_ptr<Resolver> resolver);

    TNetHeaderInfo Request;
    TNetHeaderInfo ReplyHeaders;
    std::int32_t ReplyCode = 0;
    std::string ReplyText;
    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    std::string RequestHost;
    // Redirects are followed, each with a HEAD request to its Location, at
    // most RedirectMaximum of them; one to a scheme other than http and https,
    // back to a URL of the chain, or past the maximum fails as a refused
    // reply does.
    bool HandleRedirects = true;
    std::int32_t RedirectMaximum = 5;
    // Over TLS, a certificate that fails the check ends the request before
    // it is sent (ENetCertificateRejected) rather than only being recorded:
    // for a body that is shown as the truth, not headers that are looked at.
    bool RequireValidCertificate = false;
    // Puts a redirect's URL into the form its host goes to the network in (an
    // international name in ASCII); nothing fails the redirect as a refused
    // reply. Unset, a Location is followed as the server wrote it.
    std::function<std::optional<std::string>(std::string_view)> NetworkURL;

    // Of the last request, also after a failure: the redirects followed, the
    // URL that answered when there were any (else empty), and the certificate
    // of the server that answered over TLS (none over plain HTTP, or when the
    // request failed before its handshake completed).
    std::vector<TNetRedirect> Redirects;
    std::string FinalURL;
    std::optional<TNetCertificateInfo> PeerCertificate;

    // One HEAD exchange, with its redirects, within ExchangeTimeoutMs (30 s);
    // returns when the final reply's status is 2xx and it is no redirect,
    // raises otherwise. No body is read.
    void SendHead(std::string_view url);

    // One GET exchange with its redirects, as for HEAD, within
    // ExchangeTimeoutMs, sent with "Connection: close": the final reply's
    // status in ReplyCode and its body, read by its chunks, its length or up
    // to the server's close. A body past `maxBody` bytes fails; with
    // RequireValidCertificate, so does a redirect from https to http.
    std::string SendGet(std::string_view url, std::size_t maxBody);

    // Copies where and what to ask (not the connection or the last reply).
    void CopySettingsFrom(const TNetHTTP& other);

    // The last reply is a redirect: a 3xx other than 304, or any reply with a
    // Location.
    bool ReplyIsRedirect() const;

  private:
    static constexpr std::size_t kMaxHeaderBlock = std::size_t{256} * 1024;
    std::size_t headerBytes_ = 0;
    // One request and its reply; true when the reply is a redirect.
    bool AskOnce(const std::string& url);
    // Where a redirect's reply leads, or the failure of a refused reply.
    std::string NextLocation(const std::string& url) const;
    void PrepareConnection(std::string_view url, std::string& target);
    void WriteRequest(const char* method, const std::string& target);
    // Reads the status line and the header block; true for an HTTP/1.0 reply.
    bool ReadReply();
    std::string ReadReplyLine();
    void TakeReplyHeaders();
    std::string ReadBody(std::size_t maxBody);

    TNetHeaderList rawHeaders_;
};

}  // namespace hostlore
