#include "net/whois_client.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "net/net_errors.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"

namespace hostlore {
namespace {

// Remembers what each connection sent, then answers with a fixed reply.
class RecordingWhoisServer {
  public:
    explicit RecordingWhoisServer(std::vector<std::string> packets)
        : server_([this, packets](test::ServerConnection& peer) {
              Record(peer.ReadUntil("\r\n"));
              for (const auto& packet : packets) {
                  peer.Send(packet);
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}

    int Port() const { return server_.Port(); }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    void Record(std::string request) {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
    }

    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    test::LoopbackServer server_;
};

class WhoisClientTest : public ::testing::Test {
  protected:
    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(WhoisClientTest, AsksOnPort43ByDefault) {
    TNetWhois client(resolver);
    EXPECT_EQ(client.Port, 43);
}

TEST_F(WhoisClientTest, SendsTheNameAndALineEndAndReturnsTheWholeReply) {
    RecordingWhoisServer server(
        {"Domain Name: EXAMPLE.TEST\r\n", "Registrar: Test\r\n", "\r\n>>> end"});
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
    RecordingWhoisServer server({});
    TNetWhois client(resolver);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_THROW(client.QueryDomain("example.test"), ENetNoReply);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(WhoisClientTest, EveryQueryUsesAConnectionOfItsOwn) {
    RecordingWhoisServer server({"reply"});
    TNetWhois client(resolver);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    EXPECT_EQ(client.QueryDomain("one.test"), "reply");
    EXPECT_EQ(client.QueryDomain("two.test"), "reply");
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{"one.test\r\n", "two.test\r\n"}));
}

TEST_F(WhoisClientTest, AnUnknownServerFailsBeforeSendingAndTheNextQueryStillRuns) {
    RecordingWhoisServer server({"fine"});
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

}  // namespace
}  // namespace hostlore
