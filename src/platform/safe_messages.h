#pragma once

namespace hostlore {

// From now on the toolkit's messages (its warnings, and with --verbose what
// the panes' pages write to their console) reach standard error with their
// control characters as visible escapes, as every other text from the
// network does.
void WriteToolkitMessagesSafely();

}  // namespace hostlore
