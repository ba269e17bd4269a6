#include <gtest/gtest.h>

#include <initializer_list>

#include "net/socks_errors.h"
#include "net/tcp_client.h"
#include "support/event_pump.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"

namespace hostlore {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

const std::string kSocks4Granted = Bytes({0, 90, 0, 0, 0, 0, 0, 0});
const std::string kSocks5Succeeded = Bytes({5, 0, 0, 1, 127, 0, 0, 1, 4, 0});

// A SOCKS server that answers the client's messages in turn with `answers`
// (an empty answer sends nothing) and does `ending` after the last; with
// ReadNext it records all that follows until the client closes.
test::RecordingServer SocksServer(std::vector<std::string> answers,
                                  test::After ending = test::After::ReadNext) {
    return {"", [answers = std::move(answers), ending](const test::Request& request) {
                if (request.number >= answers.size()) {
                    return test::Reply{{}, test::After::ReadNext};
                }
                return test::Reply{
                    {answers[request.number]},
                    request.number + 1 == answers.size() ? ending : test::After::ReadNext};
            }};
}

// The messages the proxy received, once the client has closed every connection.
std::vector<std::string> Messages(const test::RecordingServer& proxy) {
    EXPECT_TRUE(test::PumpUntil([&] { return proxy.ClientCloses() == proxy.Accepted(); }))
        << "the client left a connection to the proxy open";
    return proxy.Requests();
}

// The host is a view: GCC 12 takes a string member here for one that may be
// destroyed uninitialised (-Wmaybe-uninitialized).
struct Target {
    std::string_view host;
    std::int32_t port;
};

class SocksTest : public ::testing::Test {
  protected:
    std::unique_ptr<TNetTCPClient> ClientThrough(const test::RecordingServer& proxy,
                                                 TSocksVersion version, const Target& target) {
        auto client = std::make_unique<TNetTCPClient>(resolver);
        client->Host = std::string(target.host);
        client->Port = target.port;
        client->SocksInfo.Version = version;
        client->SocksInfo.Host = "127.0.0.1";
        client->SocksInfo.Port = proxy.Port();
        return client;
    }

    static void WithPassword(TNetTCPClient& client, const std::string& user,
                             const std::string& password) {
        client.SocksInfo.Authentication = TSocksAuthentication::saUsernamePassword;
        client.SocksInfo.UserID = user;
        client.SocksInfo.Password = password;
    }

    // Fails the test unless opening fails with `message`; returns whether the
    // failure was one of the exchange's own.
    static bool OpenFails(TNetTCPClient& client, const std::string& message) {
        try {
            client.OpenConnection();
            ADD_FAILURE() << "the connection opened";
        } catch (const ENetSocksError& error) {
            EXPECT_EQ(error.what(), message);
            return true;
        } catch (const ENetException& error) {
            EXPECT_EQ(error.what(), message);
        }
        return false;
    }

    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(SocksTest, Socks4RequestsAreByteExactAndTheTargetGetsTheRestOfTheConnection) {
    resolver->Add("www.example.test", {"www.example.test", {{198, 51, 100, 7}}});
    const std::string longName(255, 'n');
    const struct {
        TSocksVersion version;
        std::string userId;
        Target target;
        std::string request;
    } cases[] = {
        {TSocksVersion::svSocks4, "", {"192.0.2.10", 80}, Bytes({4, 1, 0, 80, 192, 0, 2, 10, 0})},
        {TSocksVersion::svSocks4,
         "me",
         {"www.example.test", 8080},
         Bytes({4, 1, 0x1F, 0x90, 198, 51, 100, 7}) + "me" + Bytes({0})},
        {TSocksVersion::svSocks4A,
         "",
         {"a.b", 80},
         Bytes({4, 1, 0, 80, 0, 0, 0, 1, 0}) + "a.b" + Bytes({0})},
        // 4A leaves even a dotted address to the server.
        {TSocksVersion::svSocks4A,
         "me",
         {"192.0.2.10", 443},
         Bytes({4, 1, 1, 187, 0, 0, 0, 1}) + "me" + Bytes({0}) + "192.0.2.10" + Bytes({0})},
        {TSocksVersion::svSocks4A,
         longName,
         {longName, 80},
         Bytes({4, 1, 0, 80, 0, 0, 0, 1}) + longName + Bytes({0}) + longName + Bytes({0})},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.target.host) + " as " + each.userId);
        auto proxy = SocksServer({kSocks4Granted});
        auto client = ClientThrough(proxy, each.version, each.target);
        client->SocksInfo.UserID = each.userId;
        int connectedNotes = 0;
        client->OnConnected = [&connectedNotes] { ++connectedNotes; };
        client->OpenConnection();
        EXPECT_EQ(connectedNotes, 1);
        client->SendText("next");
        client->CloseConnection();
        EXPECT_EQ(Messages(proxy), (std::vector<std::string>{each.request, "next"}));
    }
}

TEST_F(SocksTest, Socks5ExchangesAreByteExact) {
    const std::string longName(255, 'n');
    const struct {
        std::string user;
        std::string password;  // with a user: the user name/password method
        Target target;
        std::vector<std::string> answers;
        std::vector<std::string> messages;
    } cases[] = {
        {"",
         "",
         {"a.b", 80},
         {Bytes({5, 0}), kSocks5Succeeded},
         {Bytes({5, 1, 0}), Bytes({5, 1, 0, 3, 3}) + "a.b" + Bytes({0, 80})}},
        // A dotted address still goes as a name.
        {"user",
         "secret",
         {"192.0.2.10", 43},
         {Bytes({5, 2}), Bytes({1, 0}), kSocks5Succeeded},
         {Bytes({5, 1, 2}), Bytes({1, 4}) + "user" + Bytes({6}) + "secret",
          Bytes({5, 1, 0, 3, 10}) + "192.0.2.10" + Bytes({0, 43})}},
        {"user",
         "",
         {longName, 65535},
         {Bytes({5, 2}), Bytes({1, 0}), kSocks5Succeeded},
         {Bytes({5, 1, 2}), Bytes({1, 4}) + "user" + Bytes({0}),
          Bytes({5, 1, 0, 3, 255}) + longName + Bytes({255, 255})}},
        {longName,
         longName,
         {"a.b", 80},
         {Bytes({5, 2}), Bytes({1, 0}), kSocks5Succeeded},
         {Bytes({5, 1, 2}), Bytes({1, 255}) + longName + Bytes({255}) + longName,
          Bytes({5, 1, 0, 3, 3}) + "a.b" + Bytes({0, 80})}},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.target.host) + " as " + each.user);
        auto proxy = SocksServer(each.answers);
        auto client = ClientThrough(proxy, TSocksVersion::svSocks5, each.target);
        if (!each.user.empty()) {
            WithPassword(*client, each.user, each.password);
        }
        client->OpenConnection();
        client->SendText("next");
        client->CloseConnection();
        auto expected = each.messages;
        expected.emplace_back("next");
        EXPECT_EQ(Messages(proxy), expected);
    }
}

TEST_F(SocksTest, OnlyTheProxyIsResolvedWhenTheServerTakesTheTargetsName) {
    resolver->Add("proxy.example.test", {"proxy.example.test", {{127, 0, 0, 1}}});
    for (const auto version : {TSocksVersion::svSocks4A, TSocksVersion::svSocks5}) {
        auto proxy = SocksServer(version == TSocksVersion::svSocks5
                                     ? std::vector<std::string>{Bytes({5, 0}), kSocks5Succeeded}
                                     : std::vector<std::string>{kSocks4Granted});
        auto client = ClientThrough(proxy, version, {"target.example.test", 80});
        client->SocksInfo.Host = "proxy.example.test";
        client->OpenConnection();
        client->CloseConnection();
        EXPECT_EQ(Messages(proxy).size(), version == TSocksVersion::svSocks5 ? 2U : 1U);
    }
    EXPECT_EQ(resolver->AskedNames(),
              (std::vector<std::string>{"proxy.example.test", "proxy.example.test"}));
}

TEST_F(SocksTest, WithoutAVersionTheClientGoesStraightToItsTarget) {
    auto proxy = SocksServer({});
    test::LoopbackServer target([](test::ServerConnection& peer) { peer.Send("hello\n"); });
    TNetTCPClient client(resolver);
    client.Host = "127.0.0.1";
    client.Port = target.Port();
    client.SocksInfo.Host = "127.0.0.1";
    client.SocksInfo.Port = proxy.Port();
    client.SocksInfo.UserID = "user";
    client.OpenConnection();
    EXPECT_EQ(client.ReceiveLine(), "hello");
    EXPECT_EQ(proxy.Accepted(), 0);
}

TEST_F(SocksTest, TheWholeSocks5ReplyIsConsumedAndWhatFollowsBelongsToTheTarget) {
    const std::string ipv6(16, '\x20');
    const std::string replies[] = {
        Bytes({5, 0, 0, 1, 192, 0, 2, 1, 0, 80}),
        Bytes({5, 0, 0, 3, 4}) + "host" + Bytes({0, 80}),
        Bytes({5, 0, 0, 3, 0, 0, 80}),
        Bytes({5, 0, 0, 4}) + ipv6 + Bytes({0, 80}),
    };
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.size());
        // The target's first line comes in the same packet as the reply.
        auto proxy = SocksServer({Bytes({5, 0}), reply + "line\n"});
        auto client = ClientThrough(proxy, TSocksVersion::svSocks5, {"a.b", 80});
        client->OpenConnection();
        EXPECT_EQ(client->ReceiveLine(), "line");
        EXPECT_EQ(client->PendingInput(), "");
        client->CloseConnection();
    }
}

TEST_F(SocksTest, EveryRefusalFailsWithItsMessageAndNothingMoreIsSent) {
    const std::string greeted = Bytes({5, 0});
    const struct {
        const char* name;
        TSocksVersion version;
        bool withPassword;
        std::vector<std::string> answers;
        std::string message;
        std::size_t messagesSent;
    } cases[] = {
        {"socks4 91",
         TSocksVersion::svSocks4,
         false,
         {Bytes({0, 91, 0, 0, 0, 0, 0, 0})},
         "Request rejected or failed.",
         1},
        {"socks4a 92",
         TSocksVersion::svSocks4A,
         false,
         {Bytes({4, 92, 0, 0, 0, 0, 0, 0})},
         "Request rejected because SOCKS server cannot connect.",
         1},
        {"socks4 93",
         TSocksVersion::svSocks4,
         false,
         {Bytes({0, 93, 0, 0, 0, 0, 0, 0})},
         "Request rejected because the client program and identd report different user-ids.",
         1},
        {"socks4 0",
         TSocksVersion::svSocks4,
         false,
         {Bytes({0, 0, 0, 0, 0, 0, 0, 0})},
         "Unknown socks error.",
         1},
        {"socks4 89",
         TSocksVersion::svSocks4,
         false,
         {Bytes({0, 89, 0, 0, 0, 0, 0, 0})},
         "Unknown socks error.",
         1},
        {"no method acceptable",
         TSocksVersion::svSocks5,
         false,
         {Bytes({5, 255})},
         "Invalid socks authentication method.",
         1},
        {"password method not taken",
         TSocksVersion::svSocks5,
         true,
         {greeted},
         "Invalid socks authentication method.",
         1},
        {"method not offered",
         TSocksVersion::svSocks5,
         false,
         {Bytes({5, 2})},
         "Invalid socks authentication method.",
         1},
        {"wrong password",
         TSocksVersion::svSocks5,
         true,
         {Bytes({5, 2}), Bytes({1, 1})},
         "Authentication error to socks server.",
         2},
        {"reply 1",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 1, 0, 1, 0})},
         "General SOCKS server failure.",
         2},
        {"reply 2",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 2, 0, 1, 0})},
         "Connection not allowed by ruleset.",
         2},
        {"reply 3",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 3, 0, 1, 0})},
         "Network unreachable.",
         2},
        {"reply 4",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 4, 0, 1, 0})},
         "Host unreachable.",
         2},
        {"reply 5",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 5, 0, 1, 0})},
         "Connection refused.",
         2},
        {"reply 6",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 6, 0, 1, 0})},
         "TTL expired.",
         2},
        {"reply 7",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 7, 0, 1, 0})},
         "Command not supported.",
         2},
        {"reply 8",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 8, 0, 1, 0})},
         "Address type not supported.",
         2},
        {"reply 9",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 9, 0, 1, 0})},
         "Unknown socks error.",
         2},
        {"reply 255",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 255, 0, 1, 0})},
         "Unknown socks error.",
         2},
        {"address type 2",
         TSocksVersion::svSocks5,
         false,
         {greeted, Bytes({5, 0, 0, 2, 0})},
         "Unknown socks error.",
         2},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        auto proxy = SocksServer(each.answers);
        auto client = ClientThrough(proxy, each.version, {"192.0.2.10", 80});
        if (each.withPassword) {
            WithPassword(*client, "user", "secret");
        }
        bool connectedNoted = false;
        client->OnConnected = [&connectedNoted] { connectedNoted = true; };
        EXPECT_TRUE(OpenFails(*client, each.message));
        EXPECT_FALSE(connectedNoted);
        // The refused connection stays open to the proxy until closed here.
        EXPECT_TRUE(client->IsConnected());
        client->CloseConnection();
        EXPECT_EQ(Messages(proxy).size(), each.messagesSent);
    }
}

TEST_F(SocksTest, AServerThatHangsUpAtAnyStepFails) {
    const std::string notResponding = "Socks server did not respond.";
    const std::string closed = "Connection Closed Gracefully.";
    const struct {
        const char* name;
        TSocksVersion version;
        std::vector<std::string> answers;
        test::After ending;
        std::string message;
    } cases[] = {
        // SOCKS 4 read failures pass unchanged.
        {"socks4 no reply", TSocksVersion::svSocks4, {""}, test::After::Close, closed},
        {"socks4 short reply",
         TSocksVersion::svSocks4,
         {Bytes({0, 90, 0})},
         test::After::Close,
         closed},
        {"greeting unanswered", TSocksVersion::svSocks5, {""}, test::After::Close, notResponding},
        {"greeting half answered",
         TSocksVersion::svSocks5,
         {Bytes({5})},
         test::After::Close,
         notResponding},
        {"greeting answer reset", TSocksVersion::svSocks5, {""}, test::After::Reset, notResponding},
        {"login unanswered",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), ""},
         test::After::Close,
         notResponding},
        {"login half answered",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1})},
         test::After::Close,
         notResponding},
        {"request unanswered",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1, 0}), ""},
         test::After::Close,
         notResponding},
        {"reply head cut",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1, 0}), Bytes({5, 0, 0, 1})},
         test::After::Close,
         notResponding},
        {"reply address cut",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1, 0}), Bytes({5, 0, 0, 3, 4}) + "ho"},
         test::After::Close,
         notResponding},
        {"reply port cut",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1, 0}), Bytes({5, 0, 0, 1, 192, 0, 2, 1, 0})},
         test::After::Close,
         notResponding},
        {"reply reset",
         TSocksVersion::svSocks5,
         {Bytes({5, 2}), Bytes({1, 0}), Bytes({5, 0, 0, 1, 192, 0, 2, 1})},
         test::After::Reset,
         notResponding},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        auto proxy = SocksServer(each.answers, each.ending);
        auto client = ClientThrough(proxy, each.version, {"192.0.2.10", 80});
        WithPassword(*client, "user", "secret");
        EXPECT_EQ(OpenFails(*client, each.message), each.message == notResponding);
        client->CloseConnection();
        // Each was recorded before the answer the client waited for.
        EXPECT_EQ(proxy.Requests().size(), each.answers.size());
    }
}

TEST_F(SocksTest, ValuesTooLongForTheExchangeFailBeforeTheProxyIsAsked) {
    const std::string tooLong(256, 'x');
    const struct {
        TSocksVersion version;
        std::string targetHost;
        std::string user;
        std::string password;
        std::string message;
    } cases[] = {
        {TSocksVersion::svSocks4, "192.0.2.10", tooLong, "",
         "The socks user ID is longer than the 255 bytes a socks server accepts."},
        {TSocksVersion::svSocks4A, "a.b", tooLong, "",
         "The socks user ID is longer than the 255 bytes a socks server accepts."},
        {TSocksVersion::svSocks4A, tooLong, "", "",
         "The host name is longer than the 255 bytes a socks server accepts."},
        {TSocksVersion::svSocks5, tooLong, "", "",
         "The host name is longer than the 255 bytes a socks server accepts."},
        {TSocksVersion::svSocks5, "a.b", tooLong, "secret",
         "The socks user name is longer than the 255 bytes a socks server accepts."},
        {TSocksVersion::svSocks5, "a.b", "user", tooLong,
         "The socks password is longer than the 255 bytes a socks server accepts."},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.message);
        auto proxy = SocksServer({kSocks4Granted});
        auto client = ClientThrough(proxy, each.version, {each.targetHost, 80});
        client->SocksInfo.UserID = each.user;
        if (each.version == TSocksVersion::svSocks5) {
            WithPassword(*client, each.user, each.password);
        }
        EXPECT_TRUE(OpenFails(*client, each.message));
        EXPECT_FALSE(client->IsConnected());
        EXPECT_EQ(proxy.Accepted(), 0);
    }
}

TEST_F(SocksTest, Socks4TargetsTheResolverDoesNotKnowFailWithTheResolversError) {
    auto proxy = SocksServer({kSocks4Granted});
    auto client = ClientThrough(proxy, TSocksVersion::svSocks4, {"unknown.example.test", 80});
    EXPECT_FALSE(OpenFails(*client, "Socket Error # 11001\r\n"));
    client->CloseConnection();
    EXPECT_TRUE(Messages(proxy).empty());
}

}  // namespace
}  // namespace hostlore
