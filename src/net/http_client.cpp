#include "net/http_client.h"

#include <algorithm>
#include <charconv>
#include <chrono>
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

std::string QuotedServerText(std::string_view text) {
    constexpr std::size_t kLongest = 200;
    if (text.size() <= kLongest) {
        return std::string(text);
    }
    std::size_t end = kLongest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end)) + "\u2026";
}

namespace {

// A number of the reply: decimal, or a failure that quotes it.
std::int32_t ReplyNumber(std::string_view text) {
    if (const auto number = ParseDecimalInteger(text)) {
        return *number;
    }
    throw ConvertError(NotAnIntegerMessage(QuotedServerText(text)));
}

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

// A list header such as Connection or Transfer-Encoding: true when `token`
// is its last item (`last`) or any of them.
bool ListHas(std::string_view list, std::string_view token, bool last) {
    bool found = false;
    while (!list.empty()) {
        const auto comma = std::min(list.find(','), list.size());
        found = EqualsIgnoringCase(TrimControls(list.substr(0, comma)), token);
        if (found && !last) {
            return true;
        }
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return found;
}

// Header lines as fields; a continuation line is joined to the field before.
std::vector<TNetHeaderField> FieldsOf(const std::vector<std::string>& lines) {
    std::vector<TNetHeaderField> fields;
    for (const std::string& line : lines) {
        const bool continuation = !line.empty() && (line.front() == ' ' || line.front() == '\t');
        if (continuation && !fields.empty()) {
            std::string& value = fields.back().Value;
            value += value.empty() ? "" : " ";
            value += TrimControls(line);
            continue;
        }
        const auto colon = line.find(':');
        fields.push_back(
            {line.substr(0, colon),
             colon == std::string::npos
                 ? std::string()
                 : std::string(TrimControls(std::string_view(line).substr(colon + 1)))});
    }
    return fields;
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
    Hops.clear();
    FinalURL.clear();
    {
        const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
        const std::string answered = FollowChain(std::string(url), false);
        if (ReplyCode / 100 != 2) {
            throw ENetProtocolReplyError(ReplyText, ReplyCode);
        }
        if (Hops.size() > 1) {
            FinalURL = answered;
        }
    }
    if (OnHeadAnswered) {
        OnHeadAnswered();
    }
    if (IsConnected()) {
        ReceiveChunk(false, 1);  // notices a close that came with the reply
    }
}

std::string TNetHTTP::SendGet(std::string_view url, std::size_t maxBody) {
    Hops.clear();
    FinalURL.clear();
    const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
    Request.Connection = "close";
    const std::string answered = FollowChain(std::string(url), true);
    if (Hops.size() > 1) {
        FinalURL = answered;
    }
    std::string body = ReadBody(maxBody);
    CloseConnection();
    return body;
}

std::string TNetHTTP::FollowChain(std::string url, bool get) {
    for (;;) {
        AskOnce(url, get);
        if (!ReplyIsRedirect()) {
            return url;
        }
        std::string next = NextLocation(url);
        // Plain HTTP would carry off what the certificate was asked to vouch for.
        if (get && RequireValidCertificate && connectionSecure_ && !next.starts_with("https:")) {
            throw ENetInsecureRedirect(ReplyCode);
        }
        Hops.back().Target = next;
        if (get) {
            CloseConnection();  // its body is not read
        }
        url = std::move(next);
    }
}

void TNetHTTP::AskOnce(const std::string& url, bool get) {
    const auto start = std::chrono::steady_clock::now();
    const char* method = get ? "GET" : "HEAD";
    SendAndRead(url, method);
    const bool headRefused = !get && (ReplyCode == 405 || ReplyCode == 501);
    if (headRefused) {
        // Some servers answer GET alone; the body is left unread.
        method = "GET";
        SendAndRead(url, method);
    }
    Hops.push_back(
        {url,
         method,
         ReplyCode,
         ReplyText,
         replyVersion_,
         FieldsOf(rawHeaders_.Lines()),
         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
             .count(),
         {},
         tlsVersion_,
         tlsCipher_});
    TakeReplyHeaders();
    if (get && !headRefused) {
        return;  // the body is read next
    }
    const bool closing = headRefused || ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 ||
                         replyHttp10_ || ListHas(ReplyHeaders.Connection, "close", false);
    if (closing) {
        CloseConnection();
    }
}

void TNetHTTP::SendAndRead(const std::string& url, const char* method) {
    for (int attempt = 0;; ++attempt) {
        std::string target;
        const bool reused = PrepareConnection(url, target);
        headerBytes_ = 0;
        // A server may close a kept connection at any time; once no byte of
        // the reply came, the request cannot have done anything yet.
        const auto retryable = [&] {
            return reused && attempt == 0 && headerBytes_ == 0 && PendingInput().empty();
        };
        try {
            SendText(RequestText(method, target));
            if (OnRequestSent) {
                OnRequestSent(url);
            }
            ReadReply();
            return;
        } catch (const ENetConnClosedGracefully&) {
            if (!retryable()) {
                throw;
            }
        } catch (const ENetSocketError&) {
            if (!retryable()) {
                throw;
            }
        }
        CloseConnection();
    }
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
    if (!next) {
        throw ENetRedirectRefused(ReplyText, ReplyCode);
    }
    if (std::any_of(Hops.begin(), Hops.end(),
                    [&](const TNetHop& hop) { return hop.URL == *next; })) {
        throw ENetRedirectRefused("Redirect loop.", ReplyCode);
    }
    if (std::cmp_greater(Hops.size(), RedirectMaximum)) {
        throw ENetRedirectRefused("Too many redirects.", ReplyCode);
    }
    return *next;
}

bool TNetHTTP::Reusable() {
    try {
        ReceiveChunk(false, 0);
    } catch (const ENetException&) {
        return false;
    }
    return IsConnected() && PendingInput().empty();
}

bool TNetHTTP::PrepareConnection(std::string_view url, std::string& target) {
    const TNetURI uri = TNetURI::SplitURL(url);
    target = uri.Path + uri.Document;
    const bool secure = EqualsIgnoringCase(uri.Protocol, "HTTPS");
    const std::int32_t defaultPort = secure ? 443 : 80;
    const std::int32_t port = PortNumber(uri.Port).value_or(defaultPort);
    const std::string host = uri.Host.empty() ? Host : std::string(WithoutBrackets(uri.Host));
    const bool sameServer =
        EqualsIgnoringCase(Host, host) && port == Port && secure == connectionSecure_;
    if (IsConnected() && !(sameServer && Reusable())) {
        CloseConnection();
    }
    // The port goes with the name unless it is the scheme's own (RFC 9110, 7.2).
    RequestHost = (uri.Host.empty() ? Host : uri.Host) +
                  (port == defaultPort ? std::string() : ":" + std::to_string(port));
    Host = host;
    Port = port;
    if (IsConnected()) {
        return true;
    }
    PeerCertificate.reset();
    PeerTls.reset();
    tlsVersion_.clear();
    tlsCipher_.clear();
    connectionSecure_ = secure;
    OpenConnection();
    if (OnConnectionMade) {
        OnConnectionMade(std::string(url));
    }
    if (secure) {
        try {
            auto tls = std::make_unique<TNetTLSLayer>(*this, Host);
            PeerCertificate = tls->Certificate();
            PeerTls = tls->Details();
            tlsVersion_ = tls->Version();
            tlsCipher_ = tls->Cipher();
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
    return false;
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
    if (ReplyCode / 100 == 1 || ReplyCode == 204 || ReplyCode == 304) {
        return body;
    }
    // Chunked is the last coding of the list when it is there at all.
    const std::string codings = ReplyHeaders.ExtraHeaders.Value("Transfer-Encoding");
    if (!ListHas(codings, "chunked", true)) {
        if (bodyLength_ && TrimControls(codings).empty()) {
            take(static_cast<std::size_t>(*bodyLength_));
            return body;
        }
        body = ReceiveAll(maxBody);
        if (InputCutOff()) {
            throw ENetBodyCutOff();
        }
        return body;
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

std::string TNetHTTP::RequestText(const char* method, const std::string& target) const {
    TNetHeaderList headers;
    const auto add = [&headers](const char* name, const std::string& value) {
        if (!value.empty()) {
            headers.Add(name + value);
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
    if (Request.ContentRangeEnd != 0) {
        headers.Add("Range: bytes=" + std::to_string(Request.ContentRangeStart) + "-" +
                    std::to_string(Request.ContentRangeEnd));
    } else if (Request.ContentRangeStart != 0) {
        headers.Add("Range: bytes=" + std::to_string(Request.ContentRangeStart) + "-");
    }
    if (!Request.Username.empty()) {
        headers.Add("Authorization: Basic " + Base64(Request.Username + ":" + Request.Password));
    }
    for (const auto& line : Request.ExtraHeaders.Lines()) {
        headers.Add(line);
    }

    // One write, so one TLS record and no segment waiting for an acknowledgement.
    const char* version = ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    std::string text = std::string(method) + " " + target + " HTTP/" + version + "\r\n";
    text += "Host: " + RequestHost + "\r\n";
    for (const auto& line : headers.Lines()) {
        text += line + "\r\n";
    }
    return text + "\r\n";
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
    if (LineIncomplete) {
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

void TNetHTTP::ReadReply() {
    // Interim replies count against the same bound as the final one's head.
    do {
        std::string status = ReadReplyLine();
        const auto blank = status.find(' ');
        replyVersion_ = status.substr(0, blank);
        ReplyText = blank == std::string::npos ? std::string() : status.substr(blank + 1);
        ReplyCode = ReplyNumber(std::string_view(ReplyText).substr(0, ReplyText.find(' ')));
        rawHeaders_.Clear();
        for (std::string line = ReadReplyLine(); !line.empty(); line = ReadReplyLine()) {
            rawHeaders_.Add(line);
        }
        // 101 switches protocols, which was never asked for: it is final.
    } while (ReplyCode / 100 == 1 && ReplyCode != 101);
    replyHttp10_ = EqualsIgnoringCase(
        replyVersion_.substr(std::min<std::size_t>(5, replyVersion_.size()), 3), "1.0");
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
    const std::string length = take("Content-Length");
    ReplyHeaders.ContentLength = DecimalOrZero(length);
    bodyLength_.reset();
    if (const auto number = ParseDecimalInteger(length); number && *number >= 0) {
        bodyLength_ = *number;
    }
    if (std::string range = take("Content-Range"); !range.empty()) {
        const auto blank = range.find(' ');
        range.erase(0, blank == std::string::npos ? range.size() : blank + 1);
        const auto dash = range.find('-');
        const std::string start = range.substr(0, dash);
        const std::string end = dash == std::string::npos
                                    ? std::string()
                                    : range.substr(dash + 1, range.find('/', dash) - dash - 1);
        ReplyHeaders.ContentRangeStart = ReplyNumber(start);
        ReplyHeaders.ContentRangeEnd = ReplyNumber(end);
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
