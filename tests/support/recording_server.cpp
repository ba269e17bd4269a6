#include "support/recording_server.h"

#include <chrono>
#include <thread>

namespace hostlore::test {

RecordingServer::RecordingServer(std::string ending, Answer answer, const ServerOptions& options)
    : ending_(std::move(ending)),
      answer_(std::move(answer)),
      origin_((options.tls ? "https://" : "http://") +
              (options.address.find(':') != std::string::npos ? "[" + options.address + "]"
                                                              : options.address)),
      server_([this](ServerConnection& peer) { Serve(peer); }, options) {}

void RecordingServer::Serve(ServerConnection& peer) {
    for (;;) {
        std::string text = ending_.empty() ? peer.ReadOnce() : peer.ReadUntil(ending_);
        if (text.empty() || text.find(ending_) == std::string::npos) {
            ++clientCloses_;
            return;
        }
        const Reply reply = answer_(Record(std::move(text), peer));
        for (std::size_t i = 0; i < reply.parts.size(); ++i) {
            if (i > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (!peer.Send(reply.parts[i])) {
                return;
            }
        }
        switch (reply.after) {
            case After::ReadNext:
                continue;
            case After::Close:
                return;
            case After::WaitForClientClose:
                peer.WaitForClientClose();
                ++clientCloses_;
                return;
            case After::Reset:
                peer.Reset();
                return;
            case After::CloseWithoutTlsEnd:
                peer.CloseWithoutTlsEnd();
                return;
        }
    }
}

Request RecordingServer::Record(std::string text, const ServerConnection& peer) {
    const std::string line = text.substr(0, text.find("\r\n"));
    const auto start = line.find(' ');
    const auto end = line.find(' ', start + 1);
    std::string target = start != std::string::npos && end != std::string::npos
                             ? line.substr(start + 1, end - start - 1)
                             : std::string();
    std::lock_guard lock(mutex_);
    received_.push_back({received_.size(), std::move(text), std::move(target), peer.TlsServerName(),
                         peer.TlsProtocol()});
    return received_.back();
}

std::vector<Request> RecordingServer::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> RecordingServer::Requests() const {
    std::vector<std::string> texts;
    for (const Request& request : Received()) {
        texts.push_back(request.text);
    }
    return texts;
}

std::vector<std::string> RecordingServer::Targets() const {
    std::vector<std::string> targets;
    for (const Request& request : Received()) {
        targets.push_back(request.target);
    }
    return targets;
}

std::string RecordingServer::Url(const std::string& path) const {
    return origin_ + ":" + std::to_string(Port()) + path;
}

RecordingServer::Answer Always(std::string reply) {
    return [reply = std::move(reply)](const Request&) { return Reply{{reply}}; };
}

RecordingServer::Answer ByTarget(std::map<std::string, std::string> replies,
                                 std::string otherwise) {
    return
        [replies = std::move(replies), otherwise = std::move(otherwise)](const Request& request) {
            const auto reply = replies.find(request.target);
            return Reply{{reply != replies.end() ? reply->second : otherwise}, After::ReadNext};
        };
}

Reply ScriptedWhoisReply(const Request& request) {
    if (request.text == "silent.test\r\n") {
        return {{}, After::WaitForClientClose};
    }
    if (request.text == "closing.test\r\n") {
        return {};
    }
    return {{"Domain Name: " + request.text.substr(0, request.text.size() - 2) +
             "\r\n\r\nRegistrar: Test Registrar\r\n"}};
}

std::string Redirect(int code, const std::string& location) {
    return "HTTP/1.1 " + std::to_string(code) + " Moved\r\nLocation: " + location + "\r\n\r\n";
}

}  // namespace hostlore::test
