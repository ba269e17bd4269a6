#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dns/test_dns.h"
#include "localinfo/linux_network_configuration.h"
#include "platform/file_text.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

// Runs inside the test DNS server's network namespace, as root: addresses
// added to its loopback interface and its resolver file are its own.
class NetworkNamespaceTest : public test::TestDns {};

// A name server that takes every query and never answers, as a captive portal
// or a dead VPN does.
class SwallowingNameServer {
  public:
    explicit SwallowingNameServer(const char* address) : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(53);
        ::inet_pton(AF_INET, address, &where.sin_addr);
        bound_ = ::bind(socket_, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) == 0;
    }
    ~SwallowingNameServer() { ::close(socket_); }
    SwallowingNameServer(const SwallowingNameServer&) = delete;
    SwallowingNameServer& operator=(const SwallowingNameServer&) = delete;
    bool Bound() const { return bound_; }

  private:
    int socket_;
    bool bound_ = false;
};

// Gives the namespace's resolver file other content, and its own back after.
class ResolverFileContent {
  public:
    explicit ResolverFileContent(const std::string& content) : saved_(ReadWholeFile(kFile)) {
        Write(content);
    }
    ~ResolverFileContent() { Write(saved_); }
    ResolverFileContent(const ResolverFileContent&) = delete;
    ResolverFileContent& operator=(const ResolverFileContent&) = delete;

  private:
    static constexpr const char* kFile = "/etc/resolv.conf";
    static void Write(const std::string& content) {
        std::ofstream(kFile, std::ios::binary | std::ios::trunc) << content;
    }
    std::string saved_;
};

std::chrono::milliseconds TimeOfTheParameterReport() {
    LinuxNetworkConfiguration machine;
    const auto start = std::chrono::steady_clock::now();
    machine.GetNetworkParams();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// Start-up makes this report before the window first shows: nothing in it may
// wait on a network peer.
TEST_F(NetworkNamespaceTest, TheReportDoesNotWaitForANameServerThatNeverAnswers) {
    SwallowingNameServer swallower("127.0.0.2");
    ASSERT_TRUE(swallower.Bound());
    std::chrono::milliseconds withoutServer{};
    {
        ResolverFileContent none("search example.test\n");
        withoutServer = TimeOfTheParameterReport();
    }
    std::chrono::milliseconds withSwallower{};
    {
        ResolverFileContent swallowing("nameserver 127.0.0.2\nsearch example.test\n");
        withSwallower = TimeOfTheParameterReport();
    }
    // The slack covers a busy machine; a resolver waiting for its answer takes seconds.
    EXPECT_LE(withSwallower, withoutServer * 3 / 2 + std::chrono::milliseconds(200))
        << "without a name server the report took " << withoutServer.count() << " ms";
}

TEST_F(NetworkNamespaceTest, AnAddressLabelDoesNotRenameTheAdapter) {
    // Without an IPv6 address after it, the labelled address is the last the
    // interface list names for the interface.
    ASSERT_EQ(std::system("ip -6 addr flush dev lo && "
                          "ip addr add 192.0.2.98/32 dev lo label lo:9"),
              0);
    LinuxNetworkConfiguration machine;
    const auto adapters = machine.GetAdaptersInfo();
    EXPECT_EQ(std::system("ip addr del 192.0.2.98/32 dev lo; ip -6 addr add ::1/128 dev lo; "
                          "ip -6 addr add 2001:db8::1/64 dev lo nodad"),
              0);
    bool found = false;
    for (const auto& adapter : adapters) {
        EXPECT_NE(adapter.AdapterName, "lo:9");
        if (adapter.AdapterName != "lo") {
            continue;
        }
        found = true;
        EXPECT_EQ(adapter.Type, 772);
        EXPECT_EQ(adapter.Description, "lo");
        ASSERT_GE(adapter.IpAddressList.size(), 2U);
        EXPECT_EQ(adapter.IpAddressList.back().IpAddress, "192.0.2.98");
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace hostlore
