#include "settings/proxy_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

auto Fields(const TSocksInfo& socks) {
    return std::tie(socks.Version, socks.Host, socks.Port, socks.UserID, socks.Password,
                    socks.Authentication);
}

TSocksInfo Record(TSocksVersion version, std::string host, std::int32_t port, std::string user = "",
                  std::string password = "") {
    TSocksInfo socks;
    socks.Version = version;
    socks.Host = std::move(host);
    socks.Port = port;
    socks.UserID = std::move(user);
    socks.Password = std::move(password);
    if (!socks.UserID.empty()) {
        socks.Authentication = TSocksAuthentication::saUsernamePassword;
    }
    return socks;
}

TEST(ProxySettings, TakeTheWholeRecordOnlyWhenTheProxyIsInUse) {
    const TSocksInfo none;
    const struct {
        const char* name;
        const char* section;  // nullptr: no settings file
        TSocksInfo expected;
    } cases[] = {
        {"no file", nullptr, none},
        {"not in use, port no integer",
         "use=false\r\nversion=svsocks5\r\nhost=proxy\r\nport=x\r\nuid=u\r\npwd=p\r\n", none},
        {"use needs the exact word", "use=True\r\nversion=svsocks5\r\nhost=proxy\r\nport=1080\r\n",
         none},
        {"socks 5 with a user",
         "use=true\r\nversion=svsocks5\r\nhost=proxy\r\nport=1080\r\n"
         "uid=user\r\npwd=secret\r\n",
         Record(TSocksVersion::svSocks5, "proxy", 1080, "user", "secret")},
        {"socks 5 without a user",
         "use=true\r\nversion=svsocks5\r\nhost=10.0.0.1\r\nport=1080\r\n"
         "uid=\r\npwd=secret\r\n",
         Record(TSocksVersion::svSocks5, "10.0.0.1", 1080, "", "secret")},
        {"socks 4a", "use=true\r\nversion=svsocks4a\r\nhost=proxy\r\nport=1081\r\nuid=me\r\n",
         Record(TSocksVersion::svSocks4A, "proxy", 1081, "me")},
        {"socks 4", "use=true\r\nversion=svsocks4\r\nhost=proxy\r\nport=1082\r\n",
         Record(TSocksVersion::svSocks4, "proxy", 1082)},
        {"no socks named", "use=true\r\nversion=svnosocks\r\nhost=proxy\r\nport=1083\r\n",
         Record(TSocksVersion::svNoSocks, "proxy", 1083)},
        {"version needs the exact name",
         "use=true\r\nversion=SVSOCKS5\r\nhost=proxy\r\nport=1084\r\n",
         Record(TSocksVersion::svNoSocks, "proxy", 1084)},
        {"no version", "use=true\r\nhost=proxy\r\nport=1085\r\n",
         Record(TSocksVersion::svNoSocks, "proxy", 1085)},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        test::TemporaryFolder folder;
        if (each.section != nullptr) {
            folder.Write("settings.ini", std::string("[proxy]\r\n") + each.section);
        }
        const SettingsStore store(folder.File("settings.ini"));
        const ProxyReading reading = ReadProxySettings(store);
        EXPECT_EQ(Fields(reading.socks), Fields(each.expected));
        EXPECT_EQ(reading.ignored, "");
    }
}

TEST(ProxySettings, APortThatIsNoIntegerLeavesTheProxyUnsetAndIsNamed) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini",
                 "[proxy]\r\nuse=true\r\nversion=svsocks5\r\nhost=h\r\nport=10x\r\n");
    const SettingsStore store(folder.File("settings.ini"));
    const ProxyReading reading = ReadProxySettings(store);
    EXPECT_EQ(Fields(reading.socks), Fields(TSocksInfo()));
    EXPECT_EQ(reading.ignored, "port=10x");
}

}  // namespace
}  // namespace hostlore
