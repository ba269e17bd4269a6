#include "net/http_client.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "net/http_date.h"
#include "net/redirect_location.h"
#include "net/tls_layer.h"
#include "net/uri.h"
#include "net/url_syntax.h"
#include "net/wait_limit.h"
#include "platform/ascii_text.h"
#include "platform/integer_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

std::int32_t DecimalOrZero(const std::string& text) {
    return ParseDecimalInteger(text).value_or(0);
}

// The URL's port: none for empty text or text that is no decimal number. A
// number no TCP port has fails, rather than wrap around to another port.
std::optional<std::int32_t> PortNumber(const std::string& text) {
    if (const auto port = ParsePort(text)) {
        return port;
    }
    const bool digitsOnly =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (digitsOnly || ParseDecimalInteger(text)) {
        throw ENetInvalidPortNumber(text);
    }
    return std::nullopt;
}

}  // namespace

TNetHTTP::TNetHTTP(std::shared_ptr<Resolver> resolver) : TNetTCPClient(std::move(resolver)) {
    Port = 80;
    ExchangeTimeoutMs = 30'000;
}

void TNetHTTP::CopySettingsFrom(const TNetHTTP& other) {
    TNetTCPClient::CopySettingsFrom(other);
    Request = other.Request;
    ProtocolVersion = other.ProtocolVersion;
    HandleRedirects = other.HandleRedirects;
    RedirectMaximum = other.RedirectMaximum;
    RequireValidCertificate = other.RequireValidCertificate;
    NetworkURL = other.NetworkURL;
}

void TNetHTTP::SendHead(std::string_view url) {
    Redirects.clear();
    FinalURL.clear();
    {
        const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
        std::string current(url);
        while (AskOnce(current)) {
            std::string next = NextLocation(current);
            Redirects.push_back({current, ReplyCode, next});
            current = std::move(next);
        }
        if (ReplyCode / 100 != 2) {
            throw ENetProtocolReplyError(ReplyText, ReplyCode);
        }
        if (!Redirects.empty()) {
            FinalURL = current;
        }
    }
    if (IsConnected()) {
        ReceiveChunk(false, 1);  // notices a close that came with the reply
    }
}

bool TNetHTTP::AskOnce(const std::string& url) {
    std::string target;
    PrepareConnection(url, target);
    WriteRequest("HEAD", target);
    const bool http10 = ReadReply();
    const bool redirect = ReplyIsRedirect();
    const bool closing =
        ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 || http10 ||
        (EqualsIgnoringCase(TrimControls(ReplyHeaders.Connection), "CLOSE") && IsConnected());
    if (closing && (redirect || ReplyCode / 100 == 2)) {
        CloseConnection();
    }
    return redirect;
}

bool TNetHTTP::ReplyIsRedirect() const {
    return (ReplyCode / 100 == 3 && ReplyCode != 304) || !ReplyHeaders.Location.empty();
}

std::string TNetHTTP::NextLocation(const std::string& url) const {
    auto next = HandleRedirects && !ReplyHeaders.Location.empty()
                    ? ResolveLocation(url, ReplyHeaders.Location)
                    : std::nullopt;
    if (next && NetworkURL) {
        next = NetworkURL(*next);
    }
    const bool loop = next && (*next == url ||
                               std::any_of(Redirects.begin(), Redirects.end(),
                                           [&](const TNetRedirect& r) { return r.URL == *next; }));
    if (!next || loop || std::cmp_greater_equal(Redirects.size(), RedirectMaximum)) {
        throw ENetProtocolReplyError(ReplyText, ReplyCode);
    }
    return *next;
}

void TNetHTTP::PrepareConnection(std::string_view url, std::string& target) {
    const TNetURI uri = TNetURI::SplitURL(url);
    target = uri.Path + uri.Document;
    const bool secure = EqualsIgnoringCase(uri.Protocol, "HTTPS");
    const auto portNumber = PortNumber(uri.Port);
    if (!uri.Host.empty()) {
        const std::string host(WithoutBrackets(uri.Host));
        const bool sameServer = EqualsIgnoringCase(Host, host) && portNumber &&
                                *portNumber == Port && secure == PeerCertificate.has_value();
        if (IsConnected() && !sameServer) {
            CloseConnection();
        }
        Host = host;
        RequestHost = uri.Host;
    } else {
        RequestHost = Host;
    }
    Port = portNumber.value_or(secure ? 443 : 80);
    CheckPeerClosed(false, false);
    if (IsConnected()) {
        return;
    }
    PeerCertificate.reset();
    OpenConnection();
    if (secure) {
        try {
            auto tls = std::make_unique<TNetTLSLayer>(*this, Host);
            PeerCertificate = tls->Certificate();
            if (RequireValidCertificate &&
                PeerCertificate->Status != TNetCertificateStatus::Valid) {
                throw ENetCertificateRejected(*PeerCertificate);
            }
            AttachIntercept(std::move(tls));
        } catch (...) {
            // A connection without its handshake must never be reused.
            CloseConnection();
            throw;
        }
    }
}

std::string TNetHTTP::SendGet(std::string_view url, std::size_t maxBody) {
    Redirects.clear();
    FinalURL.clear();
    const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
    Request.Connection = "close";
    std::string current(url);
    for (;;) {
        std::string target;
        PrepareConnection(current, target);
        WriteRequest("GET", target);
        ReadReply();
        if (!ReplyIsRedirect()) {
            break;
        }
        std::string next = NextLocation(current);
        // Plain HTTP would carry off what the certificate was asked to vouch for.
        if (RequireValidCertificate && PeerCertificate && !next.starts_with("https:")) {
            throw ENetProtocolReplyError(ReplyText, ReplyCode);
        }
        Redirects.push_back({current, ReplyCode, next});
        CloseConnection();
        current = std::move(next);
    }
    if (!Redirects.empty()) {
        FinalURL = current;
    }
    std::string body = ReadBody(maxBody);
    CloseConnection();
    return body;
}

std::string TNetHTTP::ReadBody(std::size_t maxBody) {
    std::string body;
    const auto take = [&](std::size_t count) {
        if (count > maxBody - body.size()) {
            CloseConnection();
            throw ENetReplyTooLarge();
        }
        const std::size_t start = body.size();
        body.resize(start + count);
        ReceiveExact(body.data() + start, static_cast<std::int32_t>(count), kNoLimit);
    };
    const std::string coding(TrimControls(ReplyHeaders.ExtraHeaders.Value("Transfer-Encoding")));
    if (!EqualsIgnoringCase(coding, "chunked")) {
        if (ReplyHeaders.ContentLength > 0) {
            take(static_cast<std::size_t>(ReplyHeaders.ContentLength));
            return body;
        }
        return ReceiveAll(maxBody);
    }
    for (;;) {
        // Each chunk's framing lines are bounded as a header block is; the
        // body's limit bounds how many there are.
        headerBytes_ = 0;
        const std::string line = ReadReplyLine();
        std::size_t size = 0;
        const char* end = line.data() + std::min(line.find(';'), line.size());
        const auto [last, error] = std::from_chars(line.data(), end, size, 16);
        if (error != std::errc() || last != end) {
            throw ENetProtocolReplyError("Bad chunk size: " + line, ReplyCode);
        }
        if (size == 0) {
            while (!ReadReplyLine().empty()) {
            }
            return body;
        }
        take(size);
        ReadReplyLine();
    }
}

void TNetHTTP::WriteRequest(const char* method, const std::string& target) {
    rawHeaders_.Clear();
    Request.ContentLength = 0;
    const auto add = [this](const char* name, const std::string& value) {
        if (!value.empty()) {
            rawHeaders_.Add(name + value);
        }
    };
    add("Accept: ", Request.Accept);
    add("Accept-Charset: ", Request.AcceptCharSet);
    add("Accept-Encoding: ", Request.AcceptEncoding);
    add("Accept-Language: ", Request.AcceptLanguage);
    add("From: ", Request.From);
    add("Referer: ", Request.Referer);
    add("User-Agent: ", Request.UserAgent);
    add("Connection: ", Request.Connection);
    add("Content-Version: ", Request.ContentVersion);
    add("Content-Encoding: ", Request.ContentEncoding);
    add("Content-Language: ", Request.ContentLanguage);
    add("Content-Type: ", Request.ContentType);
    if (Request.ContentLength != 0) {
        rawHeaders_.Add("Content-Length: " + std::to_string(Request.ContentLength));
    }
    if (Request.ContentRangeEnd != 0) {
        rawHeaders_.Add("Range: bytes=" + std::to_string(Request.ContentRangeStart) + "-" +
                        std::to_string(Request.ContentRangeEnd));
    } else if (Request.ContentRangeStart != 0) {
        rawHeaders_.Add("Range: bytes=" + std::to_string(Request.ContentRangeStart) + "-");
    }
    if (!Request.Username.empty()) {
        rawHeaders_.Add("Authorization: Basic " +
                        Base64(Request.Username + ":" + Request.Password));
    }
    for (const auto& line : Request.ExtraHeaders.Lines()) {
        rawHeaders_.Add(line);
    }

    const char* version = ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    SendLine(std::string(method) + " " + target + " HTTP/" + version);
    SendLine("Host: " + RequestHost);
    for (const auto& line : rawHeaders_.Lines()) {
        SendLine(line);
    }
    SendLine("");
}

std::string TNetHTTP::ReadReplyLine() {
    // The whole header block is bounded, as an endless one would fill memory.
    const std::size_t room = kMaxHeaderBlock - std::min(headerBytes_, kMaxHeaderBlock);
    std::string line;
    try {
        line = ReceiveLine({}, kNoLimit, room);
    } catch (const ENetLineTooLong&) {
        throw ENetReplyHeaderTooLarge();
    }
    if (LineTimedOut) {
        // The reply ended before its header block did, or never came.
        if (PeerClosed() || !IsConnected()) {
            throw ENetConnClosedGracefully();
        }
        throw ENetReadTimedOut();
    }
    headerBytes_ += line.size() + 2;
    if (headerBytes_ > kMaxHeaderBlock) {
        throw ENetReplyHeaderTooLarge();
    }
    return line;
}

bool TNetHTTP::ReadReply() {
    headerBytes_ = 0;
    ReplyText = ReadReplyLine();
    const bool http10 =
        EqualsIgnoringCase(ReplyText.substr(std::min<std::size_t>(5, ReplyText.size()), 3), "1.0");
    const auto blank = ReplyText.find(' ');
    ReplyText = blank == std::string::npos ? std::string() : ReplyText.substr(blank + 1);
    ReplyCode = DecimalFromText(ReplyText.substr(0, ReplyText.find(' ')));

    rawHeaders_.Clear();
    for (std::string line = ReadReplyLine(); !line.empty(); line = ReadReplyLine()) {
        rawHeaders_.Add(line);
    }
    TakeReplyHeaders();
    return http10;
}

void TNetHTTP::TakeReplyHeaders() {
    ReplyHeaders.ExtraHeaders.Clear();
    const auto take = [this](std::string_view name) {
        std::string value = rawHeaders_.Value(name);
        rawHeaders_.Remove(name);
        return value;
    };
    ReplyHeaders.Location = take("Location");
    ReplyHeaders.Server = take("Server");
    ReplyHeaders.Connection = take("Connection");
    ReplyHeaders.ContentVersion = take("Content-Version");
    ReplyHeaders.ContentEncoding = take("Content-Encoding");
    ReplyHeaders.ContentLanguage = take("Content-Language");
    ReplyHeaders.ContentType = take("Content-Type");
    ReplyHeaders.ContentLength = DecimalOrZero(take("Content-Length"));
    if (std::string range = take("Content-Range"); !range.empty()) {
        const auto blank = range.find(' ');
        range.erase(0, blank == std::string::npos ? range.size() : blank + 1);
        const auto dash = range.find('-');
        const std::string start = range.substr(0, dash);
        const std::string end = dash == std::string::npos
                                    ? std::string()
                                    : range.substr(dash + 1, range.find('/', dash) - dash - 1);
        ReplyHeaders.ContentRangeStart = DecimalFromText(start);
        ReplyHeaders.ContentRangeEnd = DecimalFromText(end);
    }
    ReplyHeaders.Date = InternetDateToLocal(take("Date"));
    ReplyHeaders.LastModified = InternetDateToLocal(take("Last-Modified"));
    ReplyHeaders.Expires = InternetDateToLocal(take("Expires"));
    ReplyHeaders.ProxyAuthenticate = take("Proxy-Authenticate");
    for (const auto& line : rawHeaders_.Lines()) {
        ReplyHeaders.ExtraHeaders.Add(line);
    }
}

}  // namespace hostlore
