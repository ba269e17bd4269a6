#include "platform/shell_opener.h"

#include <gtest/gtest.h>

#include "support/event_pump.h"
#include "support/fake_desktop_opener.h"
#include "support/fake_services.h"

namespace hostlore {
namespace {

// Blanks and shell characters reach the opener as they are, as one argument.
const QString kTarget = QStringLiteral("http://example.test/a b;$(touch x)");

TEST(DesktopShellOpener, ShowsWhatCouldNotBeOpenedAndWhyWhenNoProgramTakesIt) {
    struct Outcome {
        int exitCode;     // of the opener; negative: there is none
        const char* box;  // the error box's text, or nullptr for none
    };
    const Outcome outcomes[] = {
        {0, nullptr},
        {2, "Could not open %1: it does not exist."},
        {3, "Could not open %1: no program is set to open it."},
        {4, "Could not open %1: the program set to open it failed."},
        {9, "Could not open %1: the desktop's opener ended with status 9."},
        {-1, "Could not open %1: the desktop's opener, xdg-open, could not be started."},
    };
    for (const Outcome& outcome : outcomes) {
        const test::FakeDesktopOpener desktop(outcome.exitCode);
        const auto boxes = std::make_shared<test::RecordingMessageBoxes>();
        DesktopShellOpener shell(boxes, QStringLiteral("Hostlore"));
        shell.Open(kTarget);
        if (outcome.box == nullptr) {
            ASSERT_TRUE(test::PumpUntil([&] { return !desktop.Arguments().empty(); }));
            test::PumpUntil([] { return false; }, 300);
            EXPECT_TRUE(boxes->shown.empty()) << boxes->shown.front().text.toStdString();
        } else {
            ASSERT_TRUE(test::PumpUntil([&] { return !boxes->shown.empty(); })) << outcome.exitCode;
            EXPECT_EQ(boxes->shown.front().text, QString::fromUtf8(outcome.box).arg(kTarget));
            EXPECT_EQ(boxes->shown.front().caption, "Hostlore");
            EXPECT_EQ(boxes->shown.front().icon, BoxIcon::Error);
        }
        if (outcome.exitCode >= 0) {
            EXPECT_EQ(desktop.Arguments(), kTarget.toStdString() + "\n") << outcome.exitCode;
        }
    }
}

}  // namespace
}  // namespace hostlore
