#include <gtest/gtest.h>

#include <QAccessible>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

QString Described(QLabel* label) {
    return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Description);
}

QString Named(QLabel* label) {
    return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
}

// Texts the program sets on labels reach screen readers; the names stay the
// captions beside them.
TEST(AnnouncedText, StatusAndServiceCaptionsAreReadable) {
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n[url]\r\nSite_Info=Example Info\r\n");
    Tmain window(program.Services());
    const auto ui = test::Ui(window);
    EXPECT_EQ(Described(ui.Label12), "Service provided by Example Info");
    EXPECT_EQ(Described(ui.Label14), "Service provided by Google");
    EXPECT_EQ(Named(ui.Label12), "Site Info");

    ui.url_edit->setEditText("www.example.test");
    window.goClick(ui.go);
    EXPECT_EQ(Described(ui.Label5), "Working, Please Wait...");
    EXPECT_EQ(Described(ui.Label11), "Working, Please Wait...");
    EXPECT_EQ(Named(ui.Label5), "Status:");
    // The fake resolver knows no host: the scan fails, and says so as loud.
    ASSERT_TRUE(test::PumpUntil([&] { return ui.Label11->text() != "Working, Please Wait..."; }));
    EXPECT_EQ(ui.Label11->text(), "Failed: Host not found.");
    EXPECT_EQ(Described(ui.Label11), "Failed: Host not found.");
}

}  // namespace
}  // namespace hostlore
