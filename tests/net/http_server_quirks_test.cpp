// The HTTP client against the ways real servers answer: kept connections they
// close, interim replies, HEAD refused, long texts.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "net/http_client.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"

namespace hostlore {
namespace {

const std::string kOk = "HTTP/1.1 200 OK\r\nServer: Final\r\nContent-Length: 0\r\n\r\n";

std::string RedirectTo(const std::string& path) {
    return "HTTP/1.1 302 Found\r\nLocation: " + path + "\r\nContent-Length: 0\r\n\r\n";
}

test::Reply Kept(std::string reply) {
    return {{std::move(reply)}, test::After::ReadNext};
}

// An HTTP server, over TLS when asked, answering every request by `answer`.
test::RecordingServer Serving(test::RecordingServer::Answer answer, bool tls = false) {
    test::ServerOptions options;
    if (tls) {
        options.tls = test::TestCertificates::Get().Server("valid");
    }
    return {"\r\n\r\n", std::move(answer), options};
}

class HttpQuirksTest : public ::testing::Test {
  protected:
    TNetHTTP http{nullptr};
    test::ScopedEnvironment zone{"TZ", "UTC0"};
    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
};

// A kept connection serves the next request only when it is still whole; one
// that turns out closed before any byte of the reply is asked again on a new one.
TEST_F(HttpQuirksTest, AKeptConnectionIsReusedOnlyWhileItIsWhole) {
    struct Case {
        const char* name;
        test::Reply first;  // the reply to /a, which leads to /b
        int connections;
    };
    const Case cases[] = {
        {"kept", Kept(RedirectTo("/b")), 1},
        {"closed by the server after the redirect", {{RedirectTo("/b")}, test::After::Close}, 2},
        {"reset by the server after the redirect", {{RedirectTo("/b")}, test::After::Reset}, 2},
        {"a HEAD reply with a body left unread",
         Kept("HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 6\r\n\r\nbody\r\n"), 2},
    };
    for (const Case& c : cases) {
        auto server = Serving([&](const test::Request& request) {
            return request.number == 0 ? c.first : Kept(kOk);
        });
        TNetHTTP client(nullptr);
        EXPECT_NO_THROW(client.SendHead(server.Url("/a"))) << c.name;
        EXPECT_EQ(client.ReplyHeaders.Server, "Final") << c.name;
        EXPECT_EQ(server.Accepted(), c.connections) << c.name;
    }
}

TEST_F(HttpQuirksTest, AFreshConnectionThatFailsIsNotAskedAgain) {
    auto server = Serving(test::Always(""));
    EXPECT_THROW(http.SendHead(server.Url()), ENetConnClosedGracefully);
    EXPECT_EQ(server.Received().size(), 1U);
}

TEST_F(HttpQuirksTest, InterimRepliesAreSkippedButASwitchOfProtocolsIsFinal) {
    struct Case {
        const char* name;
        std::string replies;
        std::string outcome;  // the final Server header, or the failure
    };
    const std::string hints = "HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n";
    const Case cases[] = {
        {"103 and 100", hints + "HTTP/1.1 100 Continue\r\n\r\n" + kOk, "Final"},
        {"101 Switching Protocols", "HTTP/1.1 101 Switching Protocols\r\n\r\n",
         "101 Switching Protocols"},
    };
    for (const Case& c : cases) {
        auto server = Serving([&](const test::Request&) { return Kept(c.replies); });
        TNetHTTP client(nullptr);
        std::string outcome;
        try {
            client.SendHead(server.Url());
            outcome = client.ReplyHeaders.Server;
            EXPECT_EQ(client.ReplyHeaders.ExtraHeaders.Value("Link"), "") << c.name;
        } catch (const ENetProtocolReplyError& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, c.outcome) << c.name;
    }
}

TEST_F(HttpQuirksTest, AHeadRefusedWith405Or501IsAskedOnceAsGetWhoseBodyIsNotRead) {
    struct Case {
        const char* name;
        std::string headReply;
        std::string getReply;
        std::vector<std::string> methods;
        std::string outcome;  // the Server header, or the failure
    };
    const std::string page = "HTTP/1.1 200 OK\r\nServer: Gets\r\nContent-Length: 100000\r\n\r\n" +
                             std::string(1000, 'x');
    const Case cases[] = {
        {"405",
         "HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n",
         page,
         {"HEAD", "GET"},
         "Gets"},
        {"501",
         "HTTP/1.1 501 Not Implemented\r\nContent-Length: 0\r\n\r\n",
         page,
         {"HEAD", "GET"},
         "Gets"},
        {"405 to GET too",
         "HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n",
         {"HEAD", "GET"},
         "405 Method Not Allowed"},
        {"403",
         "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n",
         page,
         {"HEAD"},
         "403 Forbidden"},
    };
    for (const Case& c : cases) {
        auto server = Serving([&](const test::Request& request) {
            return Kept(request.text.starts_with("HEAD") ? c.headReply : c.getReply);
        });
        TNetHTTP client(nullptr);
        std::string outcome;
        try {
            client.SendHead(server.Url("/p"));
            outcome = client.ReplyHeaders.Server;
        } catch (const ENetProtocolReplyError& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, c.outcome) << c.name;
        std::vector<std::string> methods;
        for (const std::string& request : server.Requests()) {
            methods.push_back(request.substr(0, request.find(' ')));
        }
        EXPECT_EQ(methods, c.methods) << c.name;
        if (c.methods.size() == 2) {
            EXPECT_FALSE(client.IsConnected())
                << c.name << ": the body is left with the connection";
            EXPECT_EQ(client.Hops.back().Method, "GET") << c.name;
        }
    }
}

// A server's text in a message is cut, never at a character's middle.
TEST_F(HttpQuirksTest, ServerTextInAFailureIsCutAt200Characters) {
    const std::string longText(1000, 'r');
    const std::string accented = std::string(195, 'a') + "\xc3\xa9" + longText;
    struct Case {
        const char* name;
        std::string reply;
        bool get;
        std::string message;
    };
    const Case cases[] = {
        {"a status text", "HTTP/1.1 404 " + longText + "\r\n\r\n", false,
         "404 " + std::string(196, 'r') + "\u2026"},
        {"a status that is no number", "HTTP/1.1 " + longText + "\r\n\r\n", false,
         "'" + std::string(200, 'r') + "\u2026' is not a valid integer value"},
        {"a chunk size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + longText + "\r\n", true,
         "Bad chunk size: " + std::string(184, 'r') + "\u2026"},
        {"a character at the cut", "HTTP/1.1 404 " + accented + "\r\n\r\n", false,
         "404 " + std::string(195, 'a') + "\u2026"},
    };
    for (const Case& c : cases) {
        auto server = Serving([&](const test::Request&) { return Kept(c.reply); });
        TNetHTTP client(nullptr);
        std::string message;
        try {
            if (c.get) {
                client.SendGet(server.Url(), 100'000);
            } else {
                client.SendHead(server.Url());
            }
        } catch (const std::exception& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << c.name;
    }
}

// One TLS record for the whole request, which a server reads in one go, on a
// socket that sends it without waiting for an acknowledgement.
TEST_F(HttpQuirksTest, ARequestGoesOutInOneWriteWithoutNagle) {
    test::RecordingServer server("",
                                 [](const test::Request&) {
                                     return test::Reply{{kOk}, test::After::WaitForClientClose};
                                 },
                                 {.tls = test::TestCertificates::Get().Server("valid")});
    http.SendHead(server.Url());
    const std::string firstRead = server.Requests().at(0);
    EXPECT_TRUE(firstRead.starts_with("HEAD / HTTP/1.1\r\n")) << firstRead;
    EXPECT_TRUE(firstRead.ends_with("\r\n\r\n")) << firstRead;
    int noDelay = 0;
    socklen_t length = sizeof(noDelay);
    auto use = http.Socket().Acquire();
    ASSERT_TRUE(use);
    ::getsockopt(use->Descriptor(), IPPROTO_TCP, TCP_NODELAY, &noDelay, &length);
    EXPECT_EQ(noDelay, 1);
}

// Every hop as it was sent, for the pages that show it.
TEST_F(HttpQuirksTest, EachHopKeepsItsStatusVersionAndHeadersAsSent) {
    auto server = Serving(
        [](const test::Request& request) {
            return Kept(request.number == 0
                            ? "HTTP/1.1 301 Moved\r\nlocation: /b\r\nX-Case: MiXed \r\n"
                              "X-Fold: one\r\n two\r\nContent-Length: 0\r\n\r\n"
                            : "HTTP/1.0 200 OK\r\nServer: Final\r\n\r\n");
        },
        true);
    http.SendHead(server.Url("/a"));
    ASSERT_EQ(http.Hops.size(), 2U);
    const TNetHop& first = http.Hops[0];
    EXPECT_EQ(first.URL, server.Url("/a"));
    EXPECT_EQ(first.Method, "HEAD");
    EXPECT_EQ(first.ReplyCode, 301);
    EXPECT_EQ(first.ReplyText, "301 Moved");
    EXPECT_EQ(first.Version, "HTTP/1.1");
    EXPECT_EQ(first.Target, server.Url("/b"));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"location", "/b"}, {"X-Case", "MiXed"}, {"X-Fold", "one two"}, {"Content-Length", "0"}};
    std::vector<std::pair<std::string, std::string>> headers;
    for (const TNetHeaderField& field : first.Headers) {
        headers.emplace_back(field.Name, field.Value);
    }
    EXPECT_EQ(headers, expected);
    EXPECT_GT(first.Milliseconds, 0);
    EXPECT_EQ(first.TlsVersion, "TLSv1.3");
    EXPECT_FALSE(first.TlsCipher.empty());
    EXPECT_EQ(http.Hops[1].Version, "HTTP/1.0");
    EXPECT_EQ(http.Hops[1].Target, "");
}

}  // namespace
}  // namespace hostlore
