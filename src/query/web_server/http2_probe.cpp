#include "query/web_server/http2_probe.h"

#include "net/tls_layer.h"
#include "net/uri.h"
#include "platform/ascii_text.h"
#include "platform/integer_text.h"
#include "platform/processor_choice.h"
#include "query/failure_reason.h"

namespace hostlore {

namespace {

constexpr std::int32_t kHighestPort = 65535;

int MillisecondsLeft(const Http2Probe::Deadline& deadline) {
    if (!deadline) {
        return -2;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        *deadline - std::chrono::steady_clock::now());
    // None left still fails by the deadline, not without one.
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

}  // namespace

std::optional<SecureOrigin> SecureOriginOf(std::string_view url) {
    const TNetURI uri = TNetURI::SplitURL(url);
    if (!EqualsIgnoringCase(uri.Protocol, "HTTPS") || uri.Host.empty()) {
        return std::nullopt;
    }
    SecureOrigin origin{uri.Host, 443};
    if (origin.host.size() >= 2 && origin.host.front() == '[' && origin.host.back() == ']') {
        origin.host = origin.host.substr(1, origin.host.size() - 2);
    }
    if (!uri.Port.empty()) {
        const auto port = ParseDecimalInteger(uri.Port);
        if (!port || *port < 1 || *port > kHighestPort) {
            return std::nullopt;
        }
        origin.port = *port;
    }
    return origin;
}

Http2Probe::Http2Probe(SecureOrigin origin, const TSocksInfo& socks,
                       std::shared_ptr<Resolver> resolver, Deadline deadline)
    : origin_(std::move(origin)), client_(std::move(resolver)) {
    client_.Host = origin_.host;
    client_.Port = origin_.port;
    client_.SocksInfo = socks;
    // A stop that came while the connection was made closes it once made.
    client_.OnConnected = [this] {
        if (stopped_) {
            client_.CloseConnection();
        }
    };
    // The thread that asks is about to check the server's certificate, the
    // costliest step of its request; a scheduler that packs threads onto few
    // processors, as some virtual machines do, would queue the check behind it.
    const int asking = CurrentProcessor();
    thread_ = std::thread([this, deadline, asking] {
        KeepOffProcessor(asking);
        Run(deadline);
    });
}

Http2Probe::~Http2Probe() {
    Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

Http2Check Http2Probe::Answer() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return answer_;
}

void Http2Probe::Stop() {
    stopped_ = true;
    client_.CloseConnection();
}

void Http2Probe::Run(Deadline deadline) {
    try {
        client_.ExchangeTimeoutMs = MillisecondsLeft(deadline);
        const ExchangeDeadline limit(client_, client_.ExchangeTimeoutMs);
        client_.OpenConnection();
        answer_.accepted = ServerProtocol(client_, client_.Host, {"h2"}) == "h2";
    } catch (const ENetTLSProtocolRefused&) {
        answer_.accepted = false;
    } catch (const std::exception& error) {
        answer_.reason = FailureReason(error);
    }
    client_.CloseConnection();
    done_ = true;
}

}  // namespace hostlore
