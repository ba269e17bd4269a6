#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <string>

namespace hostlore::test {

// Tests that ask the real resolver, answered by the test DNS server that
// dns/with_test_dns.sh starts (zone example.test).
class TestDns : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qgetenv("HOSTLORE_TEST_DNS") != "1") {
            GTEST_SKIP() << "needs the test DNS server, which only root can start in a network "
                            "namespace of its own; run the tests as root";
        }
    }
};

// The settings that make the program validate from the test zones' trust
// anchor, never the system's.
inline std::string TestTrustAnchorSetting() {
    return "[dns]\r\ntrust_anchor=" + qgetenv("HOSTLORE_TEST_TRUST_ANCHOR").toStdString() + "\r\n";
}

// The name server behind the reverse zone of 198.18.0.0/24 in the test DNS
// server's namespace: takes every question and answers none.
class SilentNameServer {
  public:
    SilentNameServer() : socket_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(5300);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    }
    ~SilentNameServer() { ::close(socket_); }
    SilentNameServer(const SilentNameServer&) = delete;
    SilentNameServer& operator=(const SilentNameServer&) = delete;

    // The questions that arrived so far.
    int Received() {
        std::array<char, 512> question{};
        while (::recv(socket_, question.data(), question.size(), 0) >= 0) {
            ++received_;
        }
        return received_;
    }

  private:
    int socket_;
    int received_ = 0;
};

}  // namespace hostlore::test
