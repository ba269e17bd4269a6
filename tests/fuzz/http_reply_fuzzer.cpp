// A web server's reply to the HEAD request, read by the real client: status
// line, header block, continuation lines, dates and ranges. Any failure must
// be one the client reports: the network layer's own errors, or a status code
// or range that is no number.
#include <cstdint>

#include "net/http_client.h"
#include "platform/integer_text.h"
#include "scripted_peer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    TNetHTTP client(nullptr);
    client.Host = "fuzz.example";
    client.ExchangeTimeoutMs = 1000;
    // A Location must never send the fuzzer to a real address; the reading of
    // Locations has a target of its own.
    client.HandleRedirects = false;
    const fuzz::ScriptedPeer server({reinterpret_cast<const char*>(data), size}, client);
    try {
        client.SendHead("http://fuzz.example:80/index.html");
    } catch (const ENetException&) {
        // Refused replies end here, as they do for the server-info worker.
    } catch (const ConvertError&) {
        // A status code or range that is no number fails the request.
    }
    return 0;
}
