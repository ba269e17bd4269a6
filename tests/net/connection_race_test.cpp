#include "net/connection_race.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

#include "net/net_errors.h"
#include "support/listening_socket.h"

namespace hostlore {
namespace {

using Texts = std::vector<std::string>;

Texts TextsOf(const std::vector<PeerAddress>& peers) {
    Texts texts;
    for (const auto& peer : peers) {
        texts.push_back(PeerAddressText(peer));
    }
    return texts;
}

TEST(AttemptOrderTest, TheFamiliesTakeTurnsFromTheOneRankedFirst) {
    const Ipv4Address a{192, 0, 2, 1}, b{192, 0, 2, 2};
    const Ipv6Address x = *Ipv6AddressOf("2001:db8::1"), y = *Ipv6AddressOf("2001:db8::2"),
                      z = *Ipv6AddressOf("2001:db8::3");
    const struct {
        HostEntry entry;
        Texts order;
    } cases[] = {
        {{"h", {a, b}, {x, y}, true}, {"2001:db8::1", "192.0.2.1", "2001:db8::2", "192.0.2.2"}},
        {{"h", {a, b}, {x, y}, false}, {"192.0.2.1", "2001:db8::1", "192.0.2.2", "2001:db8::2"}},
        {{"h", {a}, {x, y, z}, true}, {"2001:db8::1", "192.0.2.1", "2001:db8::2", "2001:db8::3"}},
        {{"h", {}, {x, y}, true}, {"2001:db8::1", "2001:db8::2"}},
        {{"h", {a, b}, {}, false}, {"192.0.2.1", "192.0.2.2"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextsOf(AttemptOrder(c.entry)), c.order);
    }
}

enum class Peer { Answers, Refuses, RefusesOverIpv6, Silent };

// Every peer of a race listens, or not, on the same port of an address of
// its own; all of 127.0.0.0/8 is local.
class ConnectionRaceTest : public ::testing::Test {
  protected:
    // The peers of the next race; those of the last one are gone.
    std::vector<PeerAddress> Peers(const std::vector<Peer>& kinds) {
        listeners_.clear();
        std::vector<PeerAddress> peers;
        for (const Peer kind : kinds) {
            if (kind == Peer::RefusesOverIpv6) {
                peers.emplace_back(*Ipv6AddressOf("::1"));
                continue;
            }
            const Ipv4Address address{127, 0, 0, static_cast<std::uint8_t>(10 + peers.size())};
            if (kind != Peer::Refuses) {
                listeners_.push_back(std::make_unique<test::ListeningSocket>(
                    DottedAddress(address), port_.Port(),
                    kind == Peer::Silent ? test::ListeningSocket::Kind::Silent
                                         : test::ListeningSocket::Kind::Answering));
            }
            peers.emplace_back(address);
        }
        return peers;
    }

    RaceSettings Settings() const {
        RaceSettings settings;
        settings.port = port_.Port();
        settings.headStartMs = kHeadStartMs;
        settings.timeoutMs = 3000;
        return settings;
    }

    // Roomy, so that a busy machine does not blur before and after it.
    static constexpr int kHeadStartMs = 500;

  private:
    test::ListeningSocket port_{"127.0.0.1", 0, test::ListeningSocket::Kind::Answering};
    std::vector<std::unique_ptr<test::ListeningSocket>> listeners_;
};

std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

TEST_F(ConnectionRaceTest, TheFirstConnectionMadeWins) {
    constexpr int kAtOnce = 0;
    constexpr int kAfterOneHeadStart = 1;
    constexpr int kAfterTwoHeadStarts = 2;
    const struct {
        const char* name;
        std::vector<Peer> peers;
        std::size_t winner;
        int headStarts;  // waited before the winner's attempt began
    } cases[] = {
        {"the first answers", {Peer::Answers, Peer::Answers}, 0, kAtOnce},
        {"a refusal hands over at once", {Peer::Refuses, Peer::Answers}, 1, kAtOnce},
        {"an IPv6 refusal hands over to IPv4", {Peer::RefusesOverIpv6, Peer::Answers}, 1, kAtOnce},
        {"refusals in a row", {Peer::Refuses, Peer::Refuses, Peer::Answers}, 2, kAtOnce},
        {"a silent peer has its head start", {Peer::Silent, Peer::Answers}, 1, kAfterOneHeadStart},
        {"two silent peers", {Peer::Silent, Peer::Silent, Peer::Answers}, 2, kAfterTwoHeadStarts},
        {"a refusal after a silent peer",
         {Peer::Silent, Peer::Refuses, Peer::Answers},
         2,
         kAfterOneHeadStart},
    };
    for (const auto& c : cases) {
        const auto peers = Peers(c.peers);
        const auto start = std::chrono::steady_clock::now();
        const RaceWinner winner = ConnectToFirst(peers, Settings());
        const auto elapsed = MillisecondsSince(start);
        ::close(winner.descriptor);
        EXPECT_EQ(PeerAddressText(winner.address), PeerAddressText(peers[c.winner])) << c.name;
        EXPECT_GE(elapsed, c.headStarts * kHeadStartMs) << c.name;
        EXPECT_LT(elapsed, (c.headStarts + 1) * kHeadStartMs) << c.name;
    }
}

TEST_F(ConnectionRaceTest, ARaceWithoutAWinnerFails) {
    const struct {
        const char* name;
        std::vector<Peer> peers;
        int timeoutMs;
        const char* message;
    } cases[] = {
        {"every peer refuses",
         {Peer::Refuses, Peer::Refuses},
         3000,
         "Socket Error # 10061\r\nConnection refused."},
        {"the time runs out for the whole race",
         {Peer::Silent, Peer::Silent},
         kHeadStartMs * 3 / 2,
         "Read timed out."},
        {"no peer at all", {}, 3000, "Socket Error # 11004\r\n"},
    };
    for (const auto& c : cases) {
        RaceSettings settings = Settings();
        settings.timeoutMs = c.timeoutMs;
        const auto start = std::chrono::steady_clock::now();
        try {
            ::close(ConnectToFirst(Peers(c.peers), settings).descriptor);
            ADD_FAILURE() << c.name << ": connected";
        } catch (const ENetException& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
        EXPECT_LT(MillisecondsSince(start), c.timeoutMs + kHeadStartMs) << c.name;
    }
}

TEST_F(ConnectionRaceTest, TheCallerCanWakeTheRaceToGiveUp) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    RaceSettings settings = Settings();
    settings.wakeDescriptor = pair[0];
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::shutdown(pair[0], SHUT_RDWR);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(ConnectToFirst(Peers({Peer::Silent}), settings), ENetConnClosedGracefully);
    EXPECT_LT(MillisecondsSince(start), kHeadStartMs);
    waker.join();
    ::close(pair[0]);
    ::close(pair[1]);
}

}  // namespace
}  // namespace hostlore
