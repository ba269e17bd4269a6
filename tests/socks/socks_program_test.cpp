#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/recording_server.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The program with a SOCKS 5 proxy that wants a password, set up in
// settings.ini as the user would. The targets' name is known only to the
// proxy's namespace; the program's own resolver knows no names at all.
class SocksProgramTest : public ::testing::TestWithParam<bool /*right password*/> {
  protected:
    void SetUp() override {
        if (Environment("HOSTLORE_TEST_SOCKS") != "1") {
            GTEST_SKIP() << "needs the SOCKS servers that socks/with_socks_servers.sh starts, "
                            "which only root can do; run the tests as root";
        }
        const std::string password =
            GetParam() ? Environment("HOSTLORE_TEST_MICROSOCKS_PASSWORD") : "wrong";
        program.WriteSettings(
            "[general]\r\nexecute=false\r\nget_ie=false\r\n[whois]\r\nserver=target.socks.test:" +
            std::to_string(whois.Port()) +
            "\r\n"
            "[proxy]\r\nuse=true\r\nversion=svsocks5\r\nhost=127.0.0.1\r\nport=" +
            Environment("HOSTLORE_TEST_MICROSOCKS_PORT") + "\r\nuid=" +
            Environment("HOSTLORE_TEST_MICROSOCKS_USER") + "\r\npwd=" + password + "\r\n");
        window = std::make_unique<Tmain>(program.Services());
    }

    test::RecordingServer web{"\r\n\r\n",
                              test::Always("HTTP/1.1 200 OK\r\nServer: Proxied/1.0\r\n\r\n")};
    test::RecordingServer whois{"\r\n", test::Always("Domain Name: socks.test\r\n")};
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_P(SocksProgramTest, ServerFieldsAndWhoisComeThroughTheProxyOnlyWithTheRightPassword) {
    const auto ui = test::Ui(*window);
    ui.url_edit->setEditText(
        QString::fromStdString("http://target.socks.test:" + std::to_string(web.Port()) + "/"));
    window->goClick(ui.go);
    ASSERT_TRUE(test::PumpUntil(
        [&] {
            return !ui.Edit5->text().isEmpty() && ui.Label5->text() != "Working, Please Wait...";
        },
        20000));
    if (GetParam()) {
        EXPECT_EQ(ui.Edit2->text(), "Proxied/1.0");
        EXPECT_EQ(ui.Memo3->toPlainText(), "Domain Name: socks.test");
        EXPECT_EQ(ui.Label5->text(), "Done!");
        EXPECT_EQ(web.Accepted(), 1);
        EXPECT_EQ(whois.Accepted(), 1);
    } else {
        EXPECT_EQ(ui.Edit2->text(), "X");
        EXPECT_EQ(ui.Edit5->text(), "X");
        EXPECT_TRUE(ui.Memo3->toPlainText().isEmpty());
        EXPECT_TRUE(ui.Label5->text().startsWith("Failed: ")) << ui.Label5->text().toStdString();
        EXPECT_EQ(web.Accepted(), 0);
        EXPECT_EQ(whois.Accepted(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Password, SocksProgramTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Right" : "Wrong"; });

}  // namespace
}  // namespace hostlore
