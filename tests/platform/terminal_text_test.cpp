#include "platform/terminal_text.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(TerminalSafeText, WritesEveryControlAsAVisibleEscapeAndKeepsTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"tab\tand\nline feed", "tab\tand\nline feed"},
        {"title \x1b]0;owned\x07 end", "title \\x1b]0;owned\\x07 end"},
        {"erase \x1b[2K", "erase \\x1b[2K"},
        {std::string("nul \0 cr \r bs \b", 15), "nul \\x00 cr \\x0d bs \\x08"},
        {"del \x7f", "del \\x7f"},
        // C1 controls as UTF-8 code points: CSI and the string terminator.
        {"csi \xc2\x9b"
         "31m st \xc2\x9c",
         "csi \\x9b31m st \\x9c"},
        // The same bytes on their own are no UTF-8: an 8-bit terminal reads them as C1.
        {"raw \x9b"
         "31m",
         "raw \\x9b31m"},
        {"b\xc3\xbc"
         "cher \xc2\xa0nbsp \xe4\xbe\x8b \xf0\x9f\x98\x80",
         "b\xc3\xbc"
         "cher \xc2\xa0nbsp \xe4\xbe\x8b \xf0\x9f\x98\x80"},
        {"cut \xe4\xbe", "cut \\xe4\\xbe"},
        {"overlong \xc0\x9b", "overlong \\xc0\\x9b"},
    };
    for (const auto& [text, safe] : cases) {
        EXPECT_EQ(TerminalSafeText(text), safe) << safe;
    }
}

}  // namespace
}  // namespace hostlore
