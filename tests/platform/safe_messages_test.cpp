#include "platform/safe_messages.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QtGlobal>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

// A page's console message that would retitle the terminal and erase its line.
TEST(WriteToolkitMessagesSafely, ControlsReachStandardErrorAsEscapes) {
    test::TemporaryFolder folder;
    const std::string file = folder.File("stderr").string();
    const int saved = ::dup(STDERR_FILENO);
    const int captured = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(captured, STDERR_FILENO);
    WriteToolkitMessagesSafely();
    qWarning("js: \x1b]0;owned\x07\x1b[2K done");
    qInstallMessageHandler(nullptr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    ::close(captured);
    EXPECT_EQ(folder.Read("stderr"), "js: \\x1b]0;owned\\x07\\x1b[2K done\n");
}

}  // namespace
}  // namespace hostlore
