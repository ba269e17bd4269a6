#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "net/net_errors.h"
#include "net/net_stack.h"
#include "net/tcp_client.h"
#include "support/fake_resolver.h"
#include "support/gate.h"
#include "support/listening_socket.h"
#include "support/loopback_server.h"

namespace hostlore {
namespace {

class TcpClientTest : public ::testing::Test {
  protected:
    std::unique_ptr<TNetTCPClient> ClientFor(const test::LoopbackServer& server) {
        auto client = std::make_unique<TNetTCPClient>(resolver);
        client->Host = "127.0.0.1";
        client->Port = server.Port();
        return client;
    }

    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(TcpClientTest, ReceiveAllGathersSeveralPacketsUpToTheClose) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.Send("first ");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        peer.Send("second ");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        peer.Send("last");
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    EXPECT_EQ(client->ReceiveAll(), "first second last");
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(TcpClientTest, ReceiveAllOfAPeerThatClosesAtOnceIsEmpty) {
    test::LoopbackServer server([](test::ServerConnection&) {});
    auto client = ClientFor(server);
    client->OpenConnection();
    EXPECT_EQ(client->ReceiveAll(), "");
    client->CloseConnection();
    client->CloseConnection();  // closing twice does nothing
}

TEST_F(TcpClientTest, AResetMidReplyFailsWithTheSocketError) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n");
        peer.Send("partial");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer.Reset();
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    client->SendLine("go");
    try {
        client->ReceiveAll();
        FAIL() << "no failure";
    } catch (const ENetSocketError& error) {
        EXPECT_EQ(error.Code(), 10054);
        EXPECT_STREQ(error.what(), "Socket Error # 10054\r\nConnection reset by peer.");
    }
    client->CloseConnection();
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(TcpClientTest, ReadsLinesWithEveryKindOfEnding) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.Send("abc\r\nabc\nabc\r\r\nrest|more|");
        peer.ReadUntil("bye");
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    EXPECT_EQ(client->ReceiveLine(), "abc");
    EXPECT_EQ(client->ReceiveLine(), "abc");
    EXPECT_EQ(client->ReceiveLine(), "abc\r");
    EXPECT_EQ(client->ReceiveLine("|"), "rest");
    EXPECT_EQ(client->ReceiveLine("|"), "more");
    EXPECT_FALSE(client->LineIncomplete);
    EXPECT_EQ(client->ReceiveLine("", 50), "");
    EXPECT_TRUE(client->LineIncomplete) << "nothing more arrived within the wait";
    client->SendText("bye");
}

TEST_F(TcpClientTest, AnUnterminatedLineBeforeTheCloseTimesOutThenFails) {
    test::LoopbackServer server([](test::ServerConnection& peer) { peer.Send("partial"); });
    auto client = ClientFor(server);
    client->OpenConnection();
    EXPECT_EQ(client->ReceiveLine(), "");
    EXPECT_TRUE(client->LineIncomplete);
    EXPECT_EQ(client->PendingInput(), "partial");
    EXPECT_THROW(client->ReceiveLine(), ENetConnClosedGracefully);
}

TEST_F(TcpClientTest, ALineReadAfterAnEmptyCloseFails) {
    test::LoopbackServer server([](test::ServerConnection&) {});
    auto client = ClientFor(server);
    client->OpenConnection();
    try {
        client->ReceiveLine();
        FAIL() << "no failure";
    } catch (const ENetConnClosedGracefully& error) {
        EXPECT_STREQ(error.what(), "Connection Closed Gracefully.");
    }
}

TEST_F(TcpClientTest, ReceiveExactTakesExactlyWhatIsAskedFor) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.Send("12");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        peer.Send("345678");
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    char five[5];
    client->ReceiveExact(five, 5);
    EXPECT_EQ(std::string(five, 5), "12345");
    char four[4];
    EXPECT_THROW(client->ReceiveExact(four, 4), ENetConnClosedGracefully);
}

TEST_F(TcpClientTest, OpeningTwiceFailsAndKeepsTheFirstConnection) {
    test::LoopbackServer server([](test::ServerConnection& peer) {
        peer.ReadUntil("ping");
        peer.Send("pong");
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    try {
        client->OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetAlreadyConnected& error) {
        EXPECT_STREQ(error.what(), "Already connected.");
    }
    EXPECT_TRUE(client->IsConnected());
    client->SendText("ping");
    EXPECT_EQ(client->ReceiveAll(), "pong");
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(TcpClientTest, ARefusedConnectionNamesItsCode) {
    int port = 0;
    {
        test::LoopbackServer closed([](test::ServerConnection&) {});
        port = closed.Port();
    }
    TNetTCPClient client(resolver);
    client.Host = "127.0.0.1";
    client.Port = port;
    try {
        client.OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetSocketError& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
    }
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(TcpClientTest, AnUnknownHostFailsWithTheResolversCodeAndLeavesItClosed) {
    TNetTCPClient client(resolver);
    client.Host = "nowhere.example.test";
    client.Port = 43;
    try {
        client.OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetSocketError& error) {
        EXPECT_EQ(error.Code(), 11001);
        EXPECT_STREQ(error.what(), "Socket Error # 11001\r\n");
    }
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(TcpClientTest, LocalhostAndDottedAddressesNeedNoResolver) {
    test::LoopbackServer server([](test::ServerConnection& peer) { peer.Send("hi"); });
    for (const char* host : {"LOCALHOST", "LocalHost", "127.0.0.1"}) {
        TNetTCPClient client(resolver);
        client.Host = host;
        client.Port = server.Port();
        client.OpenConnection();
        EXPECT_EQ(client.Socket().PeerIp(), "127.0.0.1") << host;
        EXPECT_EQ(client.ReceiveAll(), "hi") << host;
    }
    EXPECT_TRUE(resolver->AskedNames().empty());
}

TEST_F(TcpClientTest, ConnectsToTheResolvedAddressOfAName) {
    test::LoopbackServer server([](test::ServerConnection& peer) { peer.Send("named"); });
    resolver->Add("loop.example.test", {"loop.example.test", {{127, 0, 0, 1}}});
    TNetTCPClient client(resolver);
    client.Host = "loop.example.test";
    client.Port = server.Port();
    client.OpenConnection();
    EXPECT_EQ(client.ReceiveAll(), "named");
    EXPECT_EQ(resolver->AskedNames(), std::vector<std::string>{"loop.example.test"});
}

TEST_F(TcpClientTest, SendingToAClosedConnectionFails) {
    TNetTCPClient client(resolver);
    EXPECT_THROW(client.SendLine("x"), ENetConnClosedGracefully);
    client.SendText("");  // nothing to send, nothing to fail
}

TEST_F(TcpClientTest, ClosingFromAnotherThreadEndsABlockedReadAtOnce) {
    auto answer = std::make_shared<test::Gate>();
    test::LoopbackServer server([answer](test::ServerConnection& peer) {
        answer->Wait();
        peer.Send("too late");
    });
    auto client = ClientFor(server);
    client->OpenConnection();
    std::promise<std::chrono::steady_clock::time_point> ended;
    std::thread reader([&] {
        try {
            client->ReceiveAll();
        } catch (const ENetException&) {
        }
        ended.set_value(std::chrono::steady_clock::now());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(client->IsConnected());
    const auto closedAt = std::chrono::steady_clock::now();
    client->CloseConnection();
    const auto took = ended.get_future().get() - closedAt;
    reader.join();
    answer->Open();
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 50);
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(TcpClientTest, TriesBothFamiliesInTheResolversOrderAndKeepsTheConnectionMade) {
    const struct {
        bool ipv6First;
        const char* listening;  // the other family's address refuses
    } cases[] = {{true, "127.0.0.1"}, {false, "::1"}, {true, "::1"}, {false, "127.0.0.1"}};
    for (const auto& c : cases) {
        test::LoopbackServer server([](test::ServerConnection& peer) { peer.Send("hi"); },
                                    test::ServerOptions{.address = c.listening});
        resolver->Add(
            "dual.example.test",
            {"dual.example.test", {{127, 0, 0, 1}}, {*Ipv6AddressOf("::1")}, c.ipv6First});
        TNetTCPClient client(resolver);
        client.Host = "dual.example.test";
        client.Port = server.Port();
        client.ConnectHeadStartMs = 5000;  // a refusal must not wait for it
        const auto start = std::chrono::steady_clock::now();
        client.OpenConnection();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000))
            << c.listening;
        EXPECT_EQ(client.Socket().PeerIp(), c.listening);
        EXPECT_EQ(client.ReceiveAll(), "hi") << c.listening;
    }
}

TEST_F(TcpClientTest, ConnectsOnlyToAnAddressTheCheckAllows) {
    test::LoopbackServer ipv4([](test::ServerConnection& peer) { peer.Send("4"); });
    test::LoopbackServer ipv6([](test::ServerConnection& peer) { peer.Send("6"); },
                              test::ServerOptions{.address = "::1", .port = ipv4.Port()});
    resolver->Add("dual.example.test",
                  {"dual.example.test", {{127, 0, 0, 1}}, {*Ipv6AddressOf("::1")}, false});
    struct Case {
        const char* host;
        std::vector<std::string> refused;
        std::string outcome;  // what the server sent, or the failure
    };
    const Case cases[] = {
        {"dual.example.test", {}, "4"},
        {"dual.example.test", {"127.0.0.1"}, "6"},
        {"dual.example.test", {"::1", "127.0.0.1"}, "no 127.0.0.1"},
        {"LOCALHOST", {"127.0.0.1"}, "no 127.0.0.1"},
    };
    for (const Case& c : cases) {
        TNetTCPClient client(resolver);
        client.Host = c.host;
        client.Port = ipv4.Port();
        client.CheckAddress = [&](const std::string& address) {
            const bool refused = std::count(c.refused.begin(), c.refused.end(), address) > 0;
            return refused ? std::optional("no " + address) : std::nullopt;
        };
        std::string outcome;
        try {
            client.OpenConnection();
            outcome = client.ReceiveAll();
        } catch (const ENetAddressRefused& refused) {
            outcome = refused.what();
        }
        EXPECT_EQ(outcome, c.outcome) << c.host << " without " << c.refused.size();
    }
    EXPECT_EQ(ipv4.Accepted() + ipv6.Accepted(), 2);
}

TEST_F(TcpClientTest, ClosingFromAnotherThreadEndsAConnectAtOnce) {
    const test::ListeningSocket silent("127.0.0.1", 0, test::ListeningSocket::Kind::Silent);
    TNetTCPClient client(resolver);
    client.Host = "127.0.0.1";
    client.Port = silent.Port();
    std::promise<std::chrono::steady_clock::time_point> ended;
    std::thread opener([&] {
        EXPECT_THROW(client.OpenConnection(), ENetConnClosedGracefully);
        ended.set_value(std::chrono::steady_clock::now());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(client.IsConnected()) << "still connecting";
    const auto closedAt = std::chrono::steady_clock::now();
    client.CloseConnection();
    const auto took = ended.get_future().get() - closedAt;
    opener.join();
    EXPECT_LT(took, std::chrono::milliseconds(50));
    EXPECT_FALSE(client.IsConnected());
}

TEST(TNetStack, TellsDottedAddressesFromNames) {
    const std::pair<const char*, bool> cases[] = {
        {"10.1.2.3", true},         {"0.0.0.0", true},    {"255.255.255.255", true},
        {"10.1.2", false},          {"1.2.3.4.5", false}, {"256.1.1.1", false},
        {"1..2.3", false},          {"a.b.c.d", false},   {"", false},
        {"www.example.test", false}};
    for (const auto& [text, dotted] : cases) {
        EXPECT_EQ(TNetStack::IsDottedAddress(text), dotted) << text;
    }
}

}  // namespace
}  // namespace hostlore
