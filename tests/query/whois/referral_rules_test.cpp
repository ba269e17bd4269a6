#include "query/whois/referral_rules.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(ReferralRefusal, APublicChainGoesOnlyToPort43OfPublicAddresses) {
    struct Case {
        const char* start;  // where the chain's first server answered from
        WhoisServerAddress to;
        const char* address;  // empty: before connecting
        bool namedByUser;
        std::optional<std::string> refusal;
    };
    const WhoisServerAddress registrar{"whois.registrar.test"};
    const WhoisServerAddress elsewhere{"whois.registrar.test", 6379};
    const Case cases[] = {
        {"192.0.2.60", registrar, "", false, std::nullopt},
        {"192.0.2.60", registrar, "198.51.100.7", false, std::nullopt},
        {"192.0.2.60", registrar, "2001:db8::43", false, std::nullopt},
        {"192.0.2.60", elsewhere, "", false, "port 6379 is not the whois port"},
        {"192.0.2.60", registrar, "127.0.0.1", false, "127.0.0.1 is a loopback address"},
        {"192.0.2.60", registrar, "0.0.0.0", false, "0.0.0.0 is a loopback address"},
        {"192.0.2.60", registrar, "::1", false, "::1 is a loopback address"},
        {"192.0.2.60", registrar, "::", false, ":: is a loopback address"},
        {"192.0.2.60", registrar, "169.254.1.2", false, "169.254.1.2 is a link-local address"},
        {"192.0.2.60", registrar, "fe80::1", false, "fe80::1 is a link-local address"},
        {"192.0.2.60", registrar, "10.1.2.3", false, "10.1.2.3 is a private address"},
        {"192.0.2.60", registrar, "172.16.0.1", false, "172.16.0.1 is a private address"},
        {"192.0.2.60", registrar, "172.31.255.255", false, "172.31.255.255 is a private address"},
        {"192.0.2.60", registrar, "172.32.0.1", false, std::nullopt},
        {"192.0.2.60", registrar, "192.168.1.1", false, "192.168.1.1 is a private address"},
        {"192.0.2.60", registrar, "100.64.0.1", false, "100.64.0.1 is a private address"},
        {"192.0.2.60", registrar, "100.127.255.255", false, "100.127.255.255 is a private address"},
        {"192.0.2.60", registrar, "100.128.0.1", false, std::nullopt},
        {"192.0.2.60", registrar, "fd00::43", false, "fd00::43 is a private address"},
        {"192.0.2.60", registrar, "::ffff:10.0.0.1", false, "::ffff:10.0.0.1 is a private address"},
        {"", registrar, "127.0.0.1", false, "127.0.0.1 is a loopback address"},
        {"192.0.2.60", elsewhere, "127.0.0.1", true, std::nullopt},
        {"127.0.0.1", elsewhere, "127.0.0.1", false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReferralRefusal(c.start, c.to, c.address, c.namedByUser), c.refusal)
            << "from " << c.start << " to " << c.to.host << ":" << c.to.port << " at " << c.address;
    }
}

}  // namespace
}  // namespace hostlore
