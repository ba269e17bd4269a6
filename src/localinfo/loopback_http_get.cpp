#include "localinfo/loopback_http_get.h"

#include "net/http_headers.h"
#include "net/net_errors.h"
#include "net/tcp_client.h"
#include "platform/integer_text.h"

namespace hostlore {

namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";

struct ReplyHead {
    std::size_t size = 0;                   // through the empty line
    std::optional<std::size_t> bodyLength;  // from Content-Length
};

// The status line and headers of a reply; nothing unless it is a 200 whose
// Content-Length, when given, is a number.
std::optional<ReplyHead> ReadHead(std::string_view reply, std::size_t headerEnd) {
    std::string_view lines = reply.substr(0, headerEnd);
    const std::string_view statusLine = lines.substr(0, lines.find("\r\n"));
    const auto blank = statusLine.find(' ');
    if (blank == std::string_view::npos ||
        statusLine.substr(blank + 1, statusLine.find(' ', blank + 1) - blank - 1) != "200") {
        return std::nullopt;
    }
    TNetHeaderList headers;
    for (auto end = lines.find("\r\n"); end != std::string_view::npos; end = lines.find("\r\n")) {
        lines.remove_prefix(end + 2);
        headers.Add(std::string(lines.substr(0, lines.find("\r\n"))));
    }
    ReplyHead head{headerEnd + kHeaderEnd.size(), std::nullopt};
    if (const std::string length = headers.Value("Content-Length"); !length.empty()) {
        const auto number = ParseDecimalInteger(length);
        if (!number || *number < 0) {
            return std::nullopt;
        }
        head.bodyLength = static_cast<std::size_t>(*number);
    }
    return head;
}

}  // namespace

std::optional<std::string> ReceiveLoopbackReply(TNetTCPConnection& connection,
                                                std::chrono::steady_clock::time_point deadline,
                                                std::size_t maxReply) {
    std::optional<ReplyHead> head;
    for (;;) {
        const std::string& reply = connection.PendingInput();
        if (!head) {
            if (const auto end = reply.find(kHeaderEnd); end != std::string::npos) {
                head = ReadHead(reply, end);
                if (!head) {
                    return std::nullopt;
                }
            }
        }
        if (head && head->bodyLength) {
            if (head->size + *head->bodyLength > maxReply) {
                return std::nullopt;
            }
            if (reply.size() >= head->size + *head->bodyLength) {
                return reply.substr(head->size, *head->bodyLength);
            }
        }
        if (reply.size() > maxReply) {
            return std::nullopt;
        }
        if (!connection.IsConnected()) {
            return head ? std::optional(reply.substr(head->size)) : std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        connection.ReceiveChunk(false, static_cast<int>(left.count()));
    }
}

std::optional<std::string> LoopbackHttpGet(int port, const std::string& target,
                                           std::chrono::steady_clock::time_point deadline,
                                           std::size_t maxReply) {
    TNetTCPClient client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = port;
    try {
        client.OpenConnection();
        client.SendText("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                        "\r\n\r\n");
        return ReceiveLoopbackReply(client, deadline, maxReply);
    } catch (const ENetException&) {
        return std::nullopt;
    }
}

}  // namespace hostlore
