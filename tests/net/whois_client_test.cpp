#include "net/whois_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/net_errors.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"

namespace hostlore {
namespace {

// A whois server that answers every query with `parts`, then closes.
test::RecordingServer WhoisServer(std::vector<std::string> parts) {
    return test::RecordingServer(
        "\r\n", [parts = std::move(parts)](const test::Request&) { return test::Reply{parts}; });
}

class WhoisClientTest : public ::testing::Test {
  protected:
    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(WhoisClientTest, AsksOnPort43ByDefault) {
    TNetWhois client(resolver);
    EXPECT_EQ(client.Port, 43);
}

TEST_F(WhoisClientTest, SendsTheNameAndALineEndAndReturnsTheWholeReply) {
    const auto server =
        WhoisServer({"Domain Name: EXAMPLE.TEST\r\n", "Registrar: Test\r\n", "\r\n>>> end"});
    TNetWhois client(resolver);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_EQ(client.QueryDomain("example.com"),
              "Domain Name: EXAMPLE.TEST\r\nRegistrar: Test\r\n\r\n>>> end");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "example.com\r\n");
    EXPECT_EQ(server.Requests()[0].size(), 13u) << "eleven characters give thirteen bytes";
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(WhoisClientTest, AServerThatClosesWithoutAByteFailsTheQuery) {
    const auto server = WhoisServer({});
    TNetWhois client(resolver);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_THROW(client.QueryDomain("example.test"), ENetNoReply);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(WhoisClientTest, EveryQueryUsesAConnectionOfItsOwn) {
    const auto server = WhoisServer({"reply"});
    TNetWhois client(resolver);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_EQ(client.QueryDomain("one.test"), "reply");
    EXPECT_EQ(client.QueryDomain("two.test"), "reply");
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{"one.test\r\n", "two.test\r\n"}));
}

TEST_F(WhoisClientTest, AnUnknownServerFailsBeforeSendingAndTheNextQueryStillRuns) {
    const auto server = WhoisServer({"fine"});
    TNetWhois client(resolver);
    client.Host = "whois.nowhere.test";
    EXPECT_THROW(client.QueryDomain("example.test"), ENetSocketError);
    EXPECT_FALSE(client.IsConnected());
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_EQ(client.QueryDomain("example.test"), "fine");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(WhoisClientBounds, AnEndlessReplyFailsAtTheLimitAndClosesTheConnection) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n");
        while (peer.Send(std::string(64 * 1024, 'w'))) {
        }
    });
    TNetWhois client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.MaxReplyBytes = 1 << 20;
    EXPECT_THROW(client.QueryDomain("example.test"), ENetReplyTooLarge);
    EXPECT_FALSE(client.IsConnected());
}

// Without a limit the user's stop ends a query; a report sets one.
TEST(WhoisClientBounds, AnExchangeLimitEndsAReplyThatKeepsTrickling) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n");
        for (int i = 0; i < 40 && peer.Send("w"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    TNetWhois client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_EQ(client.ExchangeTimeoutMs, -2);
    client.ExchangeTimeoutMs = 500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.QueryDomain("example.test"), ENetReadTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(client.IsConnected());
}

}  // namespace
}  // namespace hostlore
