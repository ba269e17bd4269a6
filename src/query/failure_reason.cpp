#include "query/failure_reason.h"

#include "net/net_errors.h"

namespace hostlore {

namespace {

bool IsResolverCode(int code) {
    return code >= 11001 && code <= 11004;
}

std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    return text;
}

}  // namespace

std::string FailureReason(const std::exception& error) {
    if (const auto* socket = dynamic_cast<const ENetSocketError*>(&error)) {
        if (IsResolverCode(socket->Code())) {
            return "Host not found.";
        }
        // "Socket Error # CODE" and CR LF come first; the words are after them.
        const std::string message = socket->what();
        const auto lineEnd = message.find("\r\n");
        if (lineEnd != std::string::npos && lineEnd + 2 < message.size()) {
            return Sentence(message.substr(lineEnd + 2));
        }
        return Sentence(message);
    }
    return Sentence(error.what());
}

}  // namespace hostlore
