#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "net/certificate_info.h"
#include "net/http_headers.h"
#include "net/net_errors.h"
#include "net/tcp_client.h"
#include "net/tls_details.h"

namespace hostlore {

// Server text as a message quotes it: at most 200 bytes, cut before a
// character rather than inside one, and marked as cut.
std::string QuotedServerText(std::string_view text);

// A reply the client does not accept: its status is outside 200-299, or it is
// a redirect that is not followed. The message quotes the server.
class ENetProtocolReplyError : public ENetException {
  public:
    ENetProtocolReplyError(std::string_view replyText, std::int32_t replyCode)
        : ENetException(QuotedServerText(replyText)), replyCode_(replyCode) {}
    std::int32_t ReplyCode() const { return replyCode_; }

  private:
    std::int32_t replyCode_;
};

// A redirect the client does not follow: none asked for, no Location, another
// scheme than http and https ("STATUS TEXT"), back to a URL of the chain
// ("Redirect loop.") or past the maximum ("Too many redirects.").
class ENetRedirectRefused : public ENetProtocolReplyError {
  public:
    using ENetProtocolReplyError::ENetProtocolReplyError;
};

// A redirect from https to plain http, refused where the certificate was
// asked to vouch for what is read.
class ENetInsecureRedirect : public ENetRedirectRefused {
  public:
    explicit ENetInsecureRedirect(std::int32_t replyCode)
        : ENetRedirectRefused("Redirect from HTTPS to HTTP refused.", replyCode) {}
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

// A body that ends with the connection, which closed over TLS without the
// closing alert: it may have been cut off by anyone on the way.
class ENetBodyCutOff : public ENetException {
  public:
    ENetBodyCutOff() : ENetException("Reply cut off: the connection closed without its end.") {}
};

enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };

struct TNetHeaderField {
    std::string Name;
    std::string Value;
};

// One request of an exchange and the reply it got.
struct TNetHop {
    std::string URL;
    std::string Method;  // "HEAD", or "GET" also for a HEAD the server refused
    std::int32_t ReplyCode = 0;
    std::string ReplyText;  // the status line after its version: "301 Moved Permanently"
    std::string Version;    // as the status line names it: "HTTP/1.1"
    // As the server sent them, in order and case; continuation lines joined.
    std::vector<TNetHeaderField> Headers;
    // From the request, with the connection it had to open, to the end of
    // the header block.
    double Milliseconds = 0;
    std::string Target;  // a redirect that was followed: the absolute URL it named
    // Over TLS, what the handshake settled on ("TLSv1.3", the cipher's name).
    std::string TlsVersion;
    std::string TlsCipher;
};

// Asks a web server about one URL: the response headers with HEAD
// (SendHead), or a body with GET (SendGet); over TLS for an https URL, and
// with the redirects followed. A connection the server keeps open is used
// again for the next request to the same server when nothing of it is left
// unread; when such a connection turns out closed before any byte of the
// reply, the request goes once more on a new one. Failures are the network
// layer's, ENetProtocolReplyError and its redirect refusals, ENetInvalidPortNumber,
// ENetCertificateRejected, ENetBodyCutOff and ENetTLSError; a status or range
// that is no number raises ConvertError. Server text quoted in a message is
// cut at 200 characters.
class TNetHTTP : public TNetTCPClient {
  public:
    explicit TNetHTTP(std::shared_ptr<Resolver> resolver);

    TNetHeaderInfo Request;
    TNetHeaderInfo ReplyHeaders;
    std::int32_t ReplyCode = 0;
    std::string ReplyText;
    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    std::string RequestHost;
    // Redirects are followed, each with a request of the same method to its
    // Location, at most RedirectMaximum of them.
    bool HandleRedirects = true;
    std::int32_t RedirectMaximum = 5;
    // Over TLS, a certificate that fails the check ends the request before
    // it is sent (ENetCertificateRejected) rather than only being recorded,
    // and a redirect to plain HTTP is refused: for a body that is shown as
    // the truth, not headers that are looked at.
    bool RequireValidCertificate = false;
    // Puts a redirect's URL into the form its host goes to the network in (an
    // international name in ASCII); nothing refuses the redirect. Unset, a
    // Location is followed as the server wrote it.
    std::function<std::optional<std::string>(std::string_view)> NetworkURL;

    // Of the last exchange, also after a failure: each request with its reply
    // (interim replies left out), the URL that answered when there were
    // redirects (else empty), and the certificate and handshake of the server
    // that answered over TLS (none over plain HTTP, or when the request failed
    // before its handshake completed).
    std::vector<TNetHop> Hops;
    // Told of each request once it is sent, with its URL, on the thread that
    // asks, while the reply is on its way; the hops before it are complete.
    std::function<void(const std::string& url)> OnRequestSent;
    // Told of each new connection to a request's server as soon as it is made,
    // before any TLS handshake, with the request's URL, on the thread that asks.
    std::function<void(const std::string& url)> OnConnectionMade;
    // Told once SendHead has the reply it takes, before the probe for a close
    // that came with it, on the thread that asks.
    std::function<void()> OnHeadAnswered;
    std::string FinalURL;
    std::optional<TNetCertificateInfo> PeerCertificate;
    std::optional<TNetTlsDetails> PeerTls;

    // One HEAD exchange, with its redirects, within ExchangeTimeoutMs (30 s);
    // returns when the final reply's status is 2xx and it is no redirect,
    // raises otherwise. A HEAD refused with 405 or 501 is asked once more as
    // GET, whose body is never read. No body is read.
    void SendHead(std::string_view url);

    // One GET exchange with its redirects, as for HEAD, within
    // ExchangeTimeoutMs, sent with "Connection: close": the final reply's
    // status in ReplyCode and its body, read by its chunks, its length or up
    // to the server's close. A body past `maxBody` bytes fails.
    std::string SendGet(std::string_view url, std::size_t maxBody);

    // Copies where and what to ask (not the connection or the last reply).
    void CopySettingsFrom(const TNetHTTP& other);

    // The last reply is a redirect: a 3xx other than 304, or any reply with a
    // Location.
    bool ReplyIsRedirect() const;

  private:
    static constexpr std::size_t kMaxHeaderBlock = std::size_t{256} * 1024;
    std::size_t headerBytes_ = 0;
    // Follows the redirects from `url`; the URL that answered last.
    std::string FollowChain(std::string url, bool get);
    // One request with its reply, recorded as a hop.
    void AskOnce(const std::string& url, bool get);
    // Sends the request and reads the reply's head, once more on a new
    // connection when a reused one turns out closed.
    void SendAndRead(const std::string& url, const char* method);
    // Where a redirect's reply leads, or the failure of a refused reply.
    std::string NextLocation(const std::string& url) const;
    // Opens the connection, or keeps the open one; true when it was kept.
    bool PrepareConnection(std::string_view url, std::string& target);
    // The open connection may carry another request: nothing is left unread
    // and the server has not closed it.
    bool Reusable();
    std::string RequestText(const char* method, const std::string& target) const;
    // Reads the status line and the header block of the final reply, past
    // any interim ones.
    void ReadReply();
    std::string ReadReplyLine();
    void TakeReplyHeaders();
    std::string ReadBody(std::size_t maxBody);

    TNetHeaderList rawHeaders_;
    std::string replyVersion_;
    bool replyHttp10_ = false;
    std::optional<std::int64_t> bodyLength_;
    bool connectionSecure_ = false;
    std::string tlsVersion_;
    std::string tlsCipher_;
};

}  // namespace hostlore
