// Chromium's debugging server answering the request for its list of tabs: the
// HTTP reply around the list, then the JSON list itself.
#include <chrono>
#include <cstdint>

#include "localinfo/loopback_http_get.h"
#include "localinfo/running_browsers.h"
#include "net/net_errors.h"
#include "scripted_peer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    TNetTCPConnection connection;
    const fuzz::ScriptedPeer browser({reinterpret_cast<const char*>(data), size}, connection);
    try {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        if (const auto list = ReceiveLoopbackReply(connection, deadline, std::size_t{1} << 20)) {
            FirstPageOfTargetList(*list);
        }
    } catch (const ENetException&) {
        // A broken connection gives no page, as in the capture.
    }
    return 0;
}
