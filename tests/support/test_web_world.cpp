#include "support/test_web_world.h"

namespace hostlore::test {

namespace {

std::string Answer() {
    return std::string("HTTP/1.1 200 OK\r\nServer: ") + TestWebWorld::kServerType +
           "\r\nDate: " + TestWebWorld::kDate +
           "\r\nLast-Modified: " + TestWebWorld::kLastModified + "\r\n\r\n";
}

}  // namespace

TestWebWorld::TestWebWorld() {
    const auto& authority = TestCertificates::Get();
    const auto serve = [&](const char* address, int port,
                           std::map<std::string, std::string> replies,
                           std::optional<TlsIdentity> tls = std::nullopt) {
        servers_.push_back(
            std::make_unique<RecordingServer>("\r\n\r\n", ByTarget(std::move(replies), Answer()),
                                              ServerOptions{address, port, std::move(tls), 0}));
    };
    serve("192.0.2.10", 80, {{"/", Redirect(301, "https://www.example.test/")}});
    serve("192.0.2.10", 443, {}, authority.Server("valid"));
    serve("192.0.2.11", 443, {}, authority.Server("expired"));
    serve("192.0.2.12", 443, {}, authority.Server("future"));
    serve("192.0.2.13", 443, {}, authority.Server("wrong-name"));
    serve("192.0.2.14", 443, {}, authority.Server("self-signed"));
    serve("192.0.2.15", 443, {}, authority.Server("untrusted"));
    stall_ = std::make_unique<LoopbackServer>(
        [](ServerConnection& peer) {
            peer.ReadOnce();
            peer.WaitForClientClose();
        },
        ServerOptions{"192.0.2.16", 443, std::nullopt, 0});
    serve("192.0.2.17", 80, {{"/", Redirect(301, "/again")}, {"/again", Redirect(302, "/")}});
    serve("192.0.2.18", 80, {{"/", Redirect(302, "next/page")}});
    serve("192.0.2.19", 80, {{"/", Redirect(301, "ftp://ftp.example.test/")}});
}

}  // namespace hostlore::test
