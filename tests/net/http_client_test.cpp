#include "net/http_client.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

#include "net/net_errors.h"
#include "net/socks_errors.h"
#include "platform/integer_text.h"
#include "query/host_names.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"

namespace hostlore {
namespace {

// An HTTP server that answers the Nth request with the Nth reply, the last
// once they run out.
test::RecordingServer Serving(std::vector<std::string> replies,
                              test::After after = test::After::ReadNext,
                              const std::string& address = "127.0.0.1") {
    return test::RecordingServer(
        "\r\n\r\n",
        [replies = std::move(replies), after](const test::Request& request) {
            return test::Reply{{replies[std::min(request.number, replies.size() - 1)]}, after};
        },
        {.address = address});
}

const std::string kOk = "HTTP/1.1 200 OK\r\nServer: Test\r\n\r\n";

class HttpClientTest : public ::testing::Test {
  protected:
    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
    TNetHTTP http{resolver};
    test::ScopedEnvironment zone{"TZ", "UTC0"};
};

std::string RequestFor(const std::string& target, const std::string& host) {
    return "HEAD " + target + " HTTP/1.1\r\nHost: " + host +
           "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Hostlore)\r\n\r\n";
}

TEST_F(HttpClientTest, SendsExactlyTheRequestLinesForEachFormOfUrl) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "/"},
        {"/", "/"},
        {"/#top", "/"},
        {"/a/b.html", "/a/b.html"},
        {"\\a\\b", "/a/b"},
        {"/x/y#z/w", "/x/y#z/w"},
        {"/x?y=1#z", "/x?y=1"},
    };
    for (const auto& [tail, target] : cases) {
        auto server = Serving({kOk});
        http.CloseConnection();
        http.SendHead("http://127.0.0.1:" + std::to_string(server.Port()) + tail);
        ASSERT_EQ(server.Requests().size(), 1u) << tail;
        EXPECT_EQ(server.Requests()[0],
                  RequestFor(target, "127.0.0.1:" + std::to_string(server.Port())))
            << tail;
        EXPECT_EQ(http.Port, server.Port());
        http.CloseConnection();
    }
}

TEST_F(HttpClientTest, AnIpv6LiteralIsConnectedToWithoutItsBracketsAndNamedWithThem) {
    auto server = Serving({kOk}, test::After::ReadNext, "::1");
    http.SendHead("http://[::1]:" + std::to_string(server.Port()) + "/a");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], RequestFor("/a", "[::1]:" + std::to_string(server.Port())));
    EXPECT_EQ(http.Socket().PeerIp(), "::1");
    EXPECT_TRUE(resolver->AskedNames().empty());
}

TEST_F(HttpClientTest, ReadsTheStatusAndJoinsContinuationLines) {
    auto server =
        Serving({"HTTP/1.1 200 OK\r\nServer: Apache\r\n (Unix)\r\n"
                 "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n"
                 "Last-Modified: Sat, 05 Nov 1994 10:00:00 +0200\r\n"
                 "Content-Length: 1234\r\nContent-Range: bytes 10-20/300\r\n"
                 "X-One: 1\r\n\r\n"});
    http.SendHead(server.Url());
    EXPECT_EQ(http.ReplyCode, 200);
    EXPECT_EQ(http.ReplyText, "200 OK");
    EXPECT_EQ(http.ReplyHeaders.Server, "Apache (Unix)");
    EXPECT_EQ(http.ReplyHeaders.ContentLength, 1234);
    EXPECT_EQ(http.ReplyHeaders.ContentRangeStart, 10);
    EXPECT_EQ(http.ReplyHeaders.ContentRangeEnd, 20);
    EXPECT_NEAR(http.ReplyHeaders.Date, 34644 + (8 * 3600 + 49 * 60 + 37) / 86400.0, 1e-9);
    EXPECT_NEAR(http.ReplyHeaders.LastModified, 34643 + 8 / 24.0, 1e-9);
    EXPECT_EQ(http.ReplyHeaders.ExtraHeaders.Lines(), std::vector<std::string>{"X-One: 1"});
    EXPECT_TRUE(http.IsConnected()) << "an HTTP/1.1 connection stays open";
}

TEST_F(HttpClientTest, UsesTheFirstOfRepeatedHeadersAndKeepsTheRest) {
    auto server =
        Serving({"HTTP/1.1 200 OK\r\nServer: first\r\nX-A: a\r\n cont\r\n"
                 "Server: second\r\n\r\n"});
    http.SendHead(server.Url());
    EXPECT_EQ(http.ReplyHeaders.Server, "first");
    EXPECT_EQ(http.ReplyHeaders.ExtraHeaders.Lines(),
              (std::vector<std::string>{"X-A: a", " cont", "Server: second"}));
}

TEST_F(HttpClientTest, AMissingHeaderGivesAnEmptyOrZeroValue) {
    auto server = Serving({"HTTP/1.1 204 No Content\r\n\r\n"});
    http.SendHead(server.Url());
    EXPECT_EQ(http.ReplyHeaders.Server, "");
    EXPECT_EQ(http.ReplyHeaders.ContentLength, 0);
    EXPECT_NEAR(http.ReplyHeaders.LastModified, 0, 1e-12) << "the local offset of UTC";
}

TEST_F(HttpClientTest, AnHttp10ReplyOrConnectionCloseEndsTheConnection) {
    for (const char* reply : {"HTTP/1.0 200 OK\r\n\r\n", "http/1.0 200 OK\r\n\r\n",
                              "HTTP/1.1 200 OK\r\nConnection:  Close \r\n\r\n"}) {
        auto server = Serving({reply});
        http.SendHead(server.Url());
        EXPECT_FALSE(http.IsConnected()) << reply;
    }
}

TEST_F(HttpClientTest, ReusesTheConnectionForTheSameExplicitPort) {
    auto server = Serving({kOk});
    http.SendHead(server.Url("/one"));
    http.SendHead(server.Url("/two"));
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(HttpClientTest, AUrlWithoutAPortClosesTheOpenConnection) {
    auto server = Serving({kOk});
    http.SendHead(server.Url());
    ASSERT_TRUE(http.IsConnected());
    try {
        http.SendHead("http://127.0.0.1/");  // port 80: nobody listens there
    } catch (const ENetException&) {
    }
    EXPECT_EQ(http.Port, 80);
    for (int i = 0; i < 100 && server.ClientCloses() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(server.ClientCloses(), 1);
}

TEST_F(HttpClientTest, RefusesRepliesItDoesNotAccept) {
    http.HandleRedirects = false;  // then a redirect is refused as any other reply
    struct Case {
        const char* reply;
        const char* message;
        int code;
    };
    const Case cases[] = {
        {"HTTP/1.1 301 Moved Permanently\r\nLocation: http://elsewhere.test/\r\n\r\n",
         "301 Moved Permanently", 301},
        {"HTTP/1.1 302 Found\r\n\r\n", "302 Found", 302},
        {"HTTP/1.1 200 OK\r\nLocation: http://elsewhere.test/\r\n\r\n", "200 OK", 200},
        {"HTTP/1.1 304 Not Modified\r\n\r\n", "304 Not Modified", 304},
        {"HTTP/1.1 404 Not Found\r\n\r\n", "404 Not Found", 404},
    };
    for (const auto& c : cases) {
        auto server = Serving({c.reply});
        http.CloseConnection();
        try {
            http.SendHead(server.Url());
            FAIL() << "accepted: " << c.reply;
        } catch (const ENetProtocolReplyError& error) {
            EXPECT_STREQ(error.what(), c.message);
            EXPECT_EQ(error.ReplyCode(), c.code);
        }
    }
}

// Numbers in a reply are decimal: "$" and "0x" do not make them hexadecimal.
TEST_F(HttpClientTest, AReplyNumberThatIsNoDecimalNumberFails) {
    for (const auto& [reply, message] :
         {std::pair<const char*, const char*>{"HTTP/1.1  200 OK\r\n\r\n",
                                              "'' is not a valid integer value"},
          {"HTTP/1.1 OK\r\n\r\n", "'OK' is not a valid integer value"},
          {"garbage\r\n\r\n", "'' is not a valid integer value"},
          {"HTTP/1.1 $C8 OK\r\n\r\n", "'$C8' is not a valid integer value"},
          {"HTTP/1.1 0xC8 OK\r\n\r\n", "'0xC8' is not a valid integer value"},
          {"HTTP/1.1 206 Partial\r\nContent-Range: bytes 0x1-2/3\r\n\r\n",
           "'0x1' is not a valid integer value"}}) {
        auto server = Serving({reply});
        http.CloseConnection();
        try {
            http.SendHead(server.Url());
            FAIL() << reply;
        } catch (const ConvertError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST_F(HttpClientTest, AHeaderLineWithoutAColonNamesNoHeader) {
    auto server = Serving({"HTTP/1.1 200 OK\r\nServer\r\n (Unix)\r\n\r\n"});
    http.SendHead(server.Url());
    EXPECT_EQ(http.ReplyHeaders.Server, "");
    EXPECT_EQ(http.ReplyHeaders.ExtraHeaders.Lines(),
              (std::vector<std::string>{"Server", " (Unix)"}));
}

TEST_F(HttpClientTest, AContentLengthThatIsNoDecimalNumberReadsAsZero) {
    for (const char* length : {"0x10", "$10", "16 bytes"}) {
        auto server =
            Serving({"HTTP/1.1 200 OK\r\nContent-Length: " + std::string(length) + "\r\n\r\n"});
        http.CloseConnection();
        http.SendHead(server.Url());
        EXPECT_EQ(http.ReplyHeaders.ContentLength, 0) << length;
    }
}

std::string Hexadecimal(int number) {
    char text[16];
    std::snprintf(text, sizeof(text), "%x", number);
    return text;
}

TEST_F(HttpClientTest, AUrlPortInHexadecimalIsNoPortNumber) {
    auto server = Serving({kOk});
    for (const std::string& port :
         {"0x" + Hexadecimal(server.Port()), "$" + Hexadecimal(server.Port())}) {
        try {
            http.SendHead("http://127.0.0.1:" + port + "/");  // port 80: nobody listens there
        } catch (const ENetException&) {
        }
        EXPECT_EQ(http.Port, 80) << port;
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpClientTest, APortNoTcpConnectionCanHaveFailsTheRequest) {
    auto server = Serving({kOk});
    for (const std::string& port : {std::to_string(server.Port() + 65536), std::string("0"),
                                    std::string("-80"), std::string("99999999999")}) {
        try {
            http.SendHead("http://127.0.0.1:" + port + "/");
            FAIL() << port;
        } catch (const ENetInvalidPortNumber& error) {
            EXPECT_EQ(std::string(error.what()), "Invalid port number: " + port);
        }
    }
    EXPECT_TRUE(server.Requests().empty());
}

// The other pages query the host after the user information; so does this one.
TEST_F(HttpClientTest, ConnectsToTheHostAfterTheUserInformation) {
    resolver->Add("www.example.test", {"www.example.test", {{127, 0, 0, 1}}});
    auto server = Serving({kOk});
    http.SendHead("http://user:pw@www.example.test:" + std::to_string(server.Port()) + "/x");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              RequestFor("/x", "www.example.test:" + std::to_string(server.Port())));
    EXPECT_EQ(resolver->AskedNames(), std::vector<std::string>{"www.example.test"});
}

TEST_F(HttpClientTest, AContentRangeThatIsNoNumberFails) {
    auto server = Serving({"HTTP/1.1 206 Partial\r\nContent-Range: bytes x-20/300\r\n\r\n"});
    EXPECT_THROW(http.SendHead(server.Url()), ConvertError);
}

TEST_F(HttpClientTest, APeerThatClosesBeforeTheHeadersEndFails) {
    auto server = Serving({"HTTP/1.1 200 OK\r\nServer: cut"}, test::After::Close);
    try {
        http.SendHead(server.Url());
        FAIL() << "no failure";
    } catch (const ENetConnClosedGracefully& error) {
        EXPECT_STREQ(error.what(), "Connection Closed Gracefully.");
    }
}

TEST_F(HttpClientTest, AnHttpsUrlNeverSendsTheRequestInPlainText) {
    std::string received;
    test::LoopbackServer plain([&](test::ServerConnection& peer) {
        received = peer.ReadOnce();
        peer.Send("HTTP/1.1 400 Bad Request\r\n\r\n");
    });
    for (const char* scheme : {"https", "HTTPS", "HtTpS"}) {
        EXPECT_ANY_THROW(
            http.SendHead(std::string(scheme) + "://127.0.0.1:" + std::to_string(plain.Port())));
        EXPECT_EQ(received.find("HEAD"), std::string::npos) << scheme;
        EXPECT_FALSE(received.empty()) << "a TLS handshake began";
    }
}

// Redirects from /1 to /2 and on to /`last`, which answers 200.
std::map<std::string, std::string> Chain(int last) {
    const auto path = [](int number) { return std::string("/").append(std::to_string(number)); };
    std::map<std::string, std::string> replies{{path(last), kOk}};
    for (int i = 1; i < last; ++i) {
        replies[path(i)] = test::Redirect(302, std::to_string(i + 1));
    }
    return replies;
}

TEST_F(HttpClientTest, FollowsUpToFiveRedirectsToTheServerThatAnswers) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> replies;
        std::vector<std::string> targets;
    };
    const Case cases[] = {
        {"relative",
         {{"/a/b", test::Redirect(301, "c?d=1")}, {"/a/c?d=1", kOk}},
         {"/a/b", "/a/c?d=1"}},
        {"absolute path", {{"/a/b", test::Redirect(307, "/e")}, {"/e", kOk}}, {"/a/b", "/e"}},
        {"five in a row", Chain(6), {"/1", "/2", "/3", "/4", "/5", "/6"}},
    };
    for (const Case& c : cases) {
        test::RecordingServer server("\r\n\r\n", test::ByTarget(c.replies));
        http.SendHead(server.Url(c.targets.front()));
        EXPECT_EQ(server.Targets(), c.targets) << c.name;
        EXPECT_EQ(http.ReplyCode, 200) << c.name;
        EXPECT_EQ(http.FinalURL, server.Url(c.targets.back())) << c.name;
        ASSERT_EQ(http.Hops.size(), c.targets.size()) << c.name;
        for (std::size_t i = 0; i + 1 < c.targets.size(); ++i) {
            EXPECT_EQ(http.Hops[i].URL, server.Url(c.targets[i])) << c.name;
            EXPECT_EQ(http.Hops[i].Target, server.Url(c.targets[i + 1])) << c.name;
        }
        EXPECT_EQ(http.Hops.back().Target, "") << c.name;
    }
    test::RecordingServer direct("\r\n\r\n", test::ByTarget({{"/", kOk}}));
    http.SendHead(direct.Url("/"));
    EXPECT_EQ(http.FinalURL, "") << "no redirect, no final address";
    EXPECT_EQ(http.Hops.size(), 1U);
}

TEST_F(HttpClientTest, ARedirectToAnInternationalNameGoesToTheNetworkInItsAsciiForm) {
    resolver->Add("xn--bcher-kva.example.test", {"xn--bcher-kva.example.test", {{127, 0, 0, 1}}});
    http.NetworkURL = UrlWithNetworkHost;
    struct Case {
        const char* host;
        bool redirected;
    };
    const Case cases[] = {
        {"b\u00fccher.example.test", true},
        {"xn--bcher-kva.example.test", true},
        {"-bad-.\u00fc-", false},
    };
    for (const Case& c : cases) {
        test::RecordingServer target("\r\n\r\n", test::ByTarget({{"/next", kOk}}));
        const std::string port = std::to_string(target.Port());
        test::RecordingServer first(
            "\r\n\r\n", test::ByTarget({{"/a", test::Redirect(301, std::string("http://") + c.host +
                                                                       ":" + port + "/next")}}));
        if (!c.redirected) {
            EXPECT_THROW(http.SendHead(first.Url("/a")), ENetProtocolReplyError) << c.host;
            EXPECT_TRUE(target.Targets().empty()) << c.host;
            continue;
        }
        http.SendHead(first.Url("/a"));
        EXPECT_EQ(target.Targets(), std::vector<std::string>{"/next"}) << c.host;
        EXPECT_EQ(http.FinalURL, "http://xn--bcher-kva.example.test:" + port + "/next") << c.host;
    }
}

TEST_F(HttpClientTest, ARedirectItMustNotFollowFailsAsARefusedReply) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> replies;
        const char* start;
        std::size_t asked;
        const char* message;
    };
    const Case cases[] = {
        {"a sixth redirect", Chain(7), "/1", 6, "Too many redirects."},
        {"a loop",
         {{"/a", test::Redirect(301, "/b")}, {"/b", test::Redirect(302, "/a")}},
         "/a",
         2,
         "Redirect loop."},
        {"to itself", {{"/a", test::Redirect(301, "/a")}}, "/a", 1, "Redirect loop."},
        {"to ftp", {{"/a", test::Redirect(301, "ftp://127.0.0.1/a")}}, "/a", 1, "301 Moved"},
        {"no Location", {{"/a", "HTTP/1.1 302 Found\r\n\r\n"}}, "/a", 1, "302 Found"},
    };
    for (const Case& c : cases) {
        test::RecordingServer server("\r\n\r\n", test::ByTarget(c.replies));
        try {
            http.SendHead(server.Url(c.start));
            ADD_FAILURE() << c.name << ": followed";
        } catch (const ENetProtocolReplyError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
        EXPECT_EQ(server.Targets().size(), c.asked) << c.name;
        EXPECT_EQ(http.FinalURL, "") << c.name;
    }
}

TEST_F(HttpClientTest, ARefusedConnectionFailsWithItsSocketError) {
    int port = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        port = gone.Port();
    }
    try {
        http.SendHead("http://127.0.0.1:" + std::to_string(port) + "/");
        FAIL() << "no failure";
    } catch (const ENetSocketError& error) {
        EXPECT_EQ(error.Code(), 10061);
    }
}

// Servers that never end their header block, or never answer, cost a bounded
// amount of memory and time.
TEST(HttpClientBounds, EndlessHeadersAnEndlessLineAndSilenceFail) {
    struct Case {
        const char* name;
        std::function<void(test::ServerConnection&)> serve;
        const char* message;
    };
    const Case cases[] = {
        {"endless header lines",
         [](test::ServerConnection& peer) {
             peer.ReadUntil("\r\n\r\n");
             peer.Send("HTTP/1.1 200 OK\r\n");
             while (peer.Send("X-Filler: " + std::string(1000, 'f') + "\r\n")) {
             }
         },
         "Reply header too large."},
        {"one endless line",
         [](test::ServerConnection& peer) {
             peer.ReadUntil("\r\n\r\n");
             while (peer.Send(std::string(4096, 'a'))) {
             }
         },
         "Reply header too large."},
        {"silence",
         [](test::ServerConnection& peer) {
             peer.ReadUntil("\r\n\r\n");
             peer.WaitForClientClose();
         },
         "Read timed out."},
    };
    for (const Case& c : cases) {
        test::LoopbackServer server(c.serve);
        TNetHTTP client(nullptr);
        client.ExchangeTimeoutMs = 300;
        try {
            client.SendHead("http://127.0.0.1:" + std::to_string(server.Port()) + "/");
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const ENetException& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
        client.CloseConnection();
    }
}

// A listener whose queue is full: the kernel drops further connection
// requests, so a connect to it never completes.
class FullListener {
  public:
    FullListener() {
        const test::LoopbackListener listener = test::ListenOnLoopback(0);
        listener_ = listener.descriptor;
        port_ = listener.port;
        const sockaddr_in address = test::LoopbackAddress(port_);
        for (int i = 0; i < 4; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            // Non-blocking, so it stays in progress behind the full backlog.
            (void)::connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
            fillers_.push_back(filler);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~FullListener() {
        for (const int filler : fillers_) {
            ::close(filler);
        }
        ::close(listener_);
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;
    int Port() const { return port_; }

  private:
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

TEST(HttpClientBounds, AConnectionOrSocksServerThatNeverAnswersTimesOut) {
    FullListener full;
    test::LoopbackServer silentSocks(
        [](test::ServerConnection& peer) { peer.WaitForClientClose(); });
    struct Case {
        const char* name;
        TSocksVersion socks;
        int port;
        std::string message;
    };
    const Case cases[] = {
        {"connect", TSocksVersion::svNoSocks, full.Port(), "Read timed out."},
        {"SOCKS 4 reply", TSocksVersion::svSocks4A, silentSocks.Port(), "Read timed out."},
        {"SOCKS 5 reply", TSocksVersion::svSocks5, silentSocks.Port(),
         ENetSocksServerRespondError().what()},
    };
    for (const Case& c : cases) {
        TNetHTTP client(nullptr);
        client.ExchangeTimeoutMs = 300;
        client.SocksInfo.Version = c.socks;
        client.SocksInfo.Host = "127.0.0.1";
        client.SocksInfo.Port = c.port;
        const auto start = std::chrono::steady_clock::now();
        try {
            client.SendHead("http://127.0.0.1:" + std::to_string(full.Port()) + "/");
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const ENetException& error) {
            EXPECT_EQ(error.what(), c.message) << c.name;
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(250)) << c.name;
        EXPECT_LT(waited, std::chrono::seconds(3)) << c.name;
        client.CloseConnection();
    }
}

// Sends `bytes` one at a time, `gapMs` apart, while the client listens.
void Trickle(test::ServerConnection& peer, const std::string& bytes, int gapMs) {
    for (const char byte : bytes) {
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        if (!peer.Send(std::string(1, byte))) {
            return;
        }
    }
}

// One deadline for the whole exchange: every byte coming in time for a limit
// per read must not keep a request going.
TEST(HttpClientBounds, APeerTricklingBytesCannotStretchTheExchange) {
    const std::string socks5Reply = std::string("\x05\x00\x00\x04", 4) + std::string(18, '\0');
    struct Case {
        const char* name;
        const char* scheme;
        TSocksVersion socks;
        std::function<void(test::ServerConnection&)> serve;
        std::string message;
    };
    const Case cases[] = {
        {"a web server trickling its reply", "http", TSocksVersion::svNoSocks,
         [](test::ServerConnection& peer) {
             peer.ReadUntil("\r\n\r\n");
             Trickle(peer, "HTTP/1.1 200 OK\r\nServer: slow-and-steady-slow\r\n\r\n", 100);
         },
         "Read timed out."},
        {"a SOCKS 5 server trickling its reply", "http", TSocksVersion::svSocks5,
         [&](test::ServerConnection& peer) {
             peer.ReadOnce();
             peer.Send(std::string("\x05\x00", 2));
             peer.ReadOnce();
             Trickle(peer, socks5Reply, 150);
         },
         ENetSocksServerRespondError().what()},
        {"a TLS server that stops after the ClientHello", "https", TSocksVersion::svNoSocks,
         [](test::ServerConnection& peer) {
             peer.ReadOnce();
             peer.WaitForClientClose();
         },
         "Read timed out."},
    };
    for (const Case& c : cases) {
        test::LoopbackServer server(c.serve);
        TNetHTTP client(nullptr);
        client.ExchangeTimeoutMs = 600;
        client.SocksInfo.Version = c.socks;
        client.SocksInfo.Host = "127.0.0.1";
        client.SocksInfo.Port = server.Port();
        const auto start = std::chrono::steady_clock::now();
        try {
            client.SendHead(std::string(c.scheme) +
                            "://127.0.0.1:" + std::to_string(server.Port()) + "/");
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const ENetException& error) {
            EXPECT_EQ(error.what(), c.message) << c.name;
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(550)) << c.name;
        // The first TLS session loads the trust store, which a sanitizer slows.
        EXPECT_LT(waited, std::chrono::milliseconds(600 + 900 * HOSTLORE_TEST_TIME_SCALE))
            << c.name;
        client.CloseConnection();
    }
}

void IgnoreSignal(int) {}

TEST(HttpClientBounds, AConnectInterruptedByASignalWaitsOnlyForTheTimeLeft) {
    FullListener full;
    struct sigaction wake {};
    wake.sa_handler = IgnoreSignal;  // no SA_RESTART: the connect returns early
    struct sigaction old {};
    ::sigaction(SIGUSR1, &wake, &old);
    TNetHTTP client(nullptr);
    client.ExchangeTimeoutMs = 1000;
    std::chrono::steady_clock::duration waited{};
    std::thread request([&] {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(client.SendHead("http://127.0.0.1:" + std::to_string(full.Port()) + "/"),
                     ENetReadTimedOut);
        waited = std::chrono::steady_clock::now() - start;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ::pthread_kill(request.native_handle(), SIGUSR1);
    request.join();
    ::sigaction(SIGUSR1, &old, nullptr);
    EXPECT_GE(waited, std::chrono::milliseconds(950));
    EXPECT_LT(waited, std::chrono::milliseconds(1500)) << "not a whole limit again after it";
}

TEST(HttpClientBounds, AHeaderBlockJustUnderTheLimitIsRead) {
    std::string reply = "HTTP/1.1 200 OK\r\nServer: Big\r\n";
    while (reply.size() < std::size_t{250} * 1024) {
        reply += "X-Filler: " + std::string(1000, 'f') + "\r\n";
    }
    test::LoopbackServer server([&](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n\r\n");
        peer.Send(reply + "\r\n");
    });
    TNetHTTP client(nullptr);
    client.SendHead("http://127.0.0.1:" + std::to_string(server.Port()) + "/");
    EXPECT_EQ(client.ReplyHeaders.Server, "Big");
    client.CloseConnection();
}

// A GET's body, however the server frames it, within the body limit and the
// exchange's deadline; over TLS a body up to the close needs the closing alert
// to count as whole.
TEST(HttpClientGet, ReadsTheBodyByItsLengthItsChunksOrUpToTheClose) {
    const test::ScopedEnvironment trust("SSL_CERT_FILE",
                                        test::TestCertificates::Get().RootFile().c_str());
    constexpr std::size_t kLimit = 30'000;
    const std::string full(kLimit, 'a');
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n";
    const std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
    // Their framing alone is more than a header block may be.
    std::string manyChunks = chunked;
    for (std::size_t i = 0; i < kLimit / 10; ++i) {
        manyChunks += "a;x=" + std::string(100, 'x') + "\r\naaaaaaaaaa\r\n";
    }
    const std::string timedOut = "Read timed out.";
    const auto kept = test::After::WaitForClientClose;
    const auto closed = test::After::Close;
    struct Case {
        const char* name;
        std::string reply;
        test::After after;
        std::string body;  // or, when it fails, the failure
        std::int32_t code;
        bool tls = false;
    };
    const Case cases[] = {
        {"by length", head + "Content-Length: 5\r\n\r\nhello", kept, "hello", 200},
        {"by length 0", head + "Content-Length: 0\r\n\r\n", kept, "", 200},
        {"by chunks, with an extension and a trailer",
         chunked + "5;x=y\r\nhello\r\n6\r\n world\r\n0\r\nX-Trailer: 1\r\n\r\n", kept,
         "hello world", 200},
        {"by many chunks", manyChunks + "0\r\n\r\n", kept, full, 200},
        {"by chunks after another coding",
         head + "Transfer-Encoding: gzip, chunked\r\n\r\n4\r\nzzzz\r\n0\r\n\r\n", kept, "zzzz",
         200},
        {"none on 204", "HTTP/1.1 204 No Content\r\n\r\n", kept, "", 204},
        {"up to the close", head + "\r\n" + full, closed, full, 200},
        {"up to the close when chunked is not the last coding",
         head + "Transfer-Encoding: chunked, gzip\r\n\r\n4\r\nzzzz", closed, "4\r\nzzzz", 200},
        {"up to a close announced over TLS", head + "\r\nwhole", closed, "whole", 200, true},
        {"up to a cut over TLS", head + "\r\ncut", test::After::CloseWithoutTlsEnd,
         ENetBodyCutOff().what(), 200, true},
        {"an error object", "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\n{}", kept, "{}",
         404},
        {"past the limit by length", head + "Content-Length: 30001\r\n\r\n", kept,
         "Reply too large.", 200},
        {"past the limit by chunks", manyChunks + "1\r\na\r\n0\r\n\r\n", kept, "Reply too large.",
         200},
        {"past the limit up to the close", head + "\r\n" + full + "a", closed, "Reply too large.",
         200},
        {"a length that never comes", head + "Content-Length: 5\r\n\r\nhel", kept, timedOut, 200},
        {"a redirect loop", "HTTP/1.1 302 Found\r\nLocation: /else\r\n\r\n", kept, "Redirect loop.",
         302},
    };
    for (const Case& c : cases) {
        test::ServerOptions options;
        if (c.tls) {
            options.tls = test::TestCertificates::Get().Server("valid");
        }
        const test::RecordingServer server(
            "\r\n\r\n",
            [&](const test::Request&) {
                return test::Reply{{c.reply}, c.after};
            },
            options);
        TNetHTTP client(nullptr);
        client.ExchangeTimeoutMs = 1000 * HOSTLORE_TEST_TIME_SCALE;
        std::string body;
        const auto start = std::chrono::steady_clock::now();
        try {
            body = client.SendGet(server.Url("/x"), kLimit);
        } catch (const ENetException& error) {
            body = error.what();
        }
        EXPECT_TRUE(body == c.body)
            << c.name << ": " << body.size() << " bytes, " << body.substr(0, 40);
        EXPECT_EQ(client.ReplyCode, c.code) << c.name;
        if (c.body != timedOut) {
            EXPECT_LT(std::chrono::steady_clock::now() - start,
                      std::chrono::milliseconds(client.ExchangeTimeoutMs / 2))
                << c.name << ": waited for a close that was not due";
        }
    }
}

}  // namespace
}  // namespace hostlore
