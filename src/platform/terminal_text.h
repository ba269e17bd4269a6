#pragma once

#include <string>
#include <string_view>

namespace hostlore {

// Text made harmless for a terminal: every C0 control but tab and line feed,
// DEL, every C1 control and every byte that is not part of valid UTF-8 is
// written as a visible escape ("\x1b"), so that a peer's bytes can neither
// move the cursor, retitle the window nor start an escape sequence.
std::string TerminalSafeText(std::string_view text);

}  // namespace hostlore
