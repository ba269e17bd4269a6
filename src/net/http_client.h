#pragma once

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

// An https URL: the client has no TLS layer to attach.
class ENetInterceptPropInvalid : public ENetException {
  public:
    ENetInterceptPropInvalid() : ENetException("Intercept value is not valid") {}
};

// A URL port that no TCP connection can have; it must not wrap to another port.
class ENetInvalidPortNumber : public ENetException {
  public:
    explicit ENetInvalidPortNumber(const std::string& portText)
        : ENetException("Invalid port number: " + portText) {}
};

enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };

// Asks a web server for the response headers of one URL with a HEAD request.
class TNetHTTP : public TNetTCPClient {
  public:
    explicit TNetHTTP(std::shared_ptr<Resolver> resolver);

    TNetHeaderInfo Request;
    TNetHeaderInfo ReplyHeaders;
    // How long the connection may stay silent while the reply is read; a new
    // client waits as long for its connection.
    int ReadTimeoutMs = 30'000;
    std::int32_t ReplyCode = 0;
    std::string ReplyText;
    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    std::string RequestHost;

    // One HEAD exchange; returns when the reply's status is 2xx and it is no
    // redirect, raises otherwise. Redirects are never followed; no body is read.
    void SendHead(std::string_view url);

    // One GET exchange, sent with "Connection: close": the reply's status in
    // ReplyCode and its body, read by its chunks, its length or up to the
    // server's close. A body past `maxBody` bytes fails; a redirect fails as
    // a refused reply does.
    std::string SendGet(std::string_view url, std::size_t maxBody);

    // Copies where and what to ask (not the connection or the last reply).
    void CopySettingsFrom(const TNetHTTP& other);

  private:
    static constexpr std::size_t kMaxHeaderBlock = std::size_t{256} * 1024;
    std::size_t headerBytes_ = 0;
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
