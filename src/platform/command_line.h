#pragma once

namespace hostlore {

// Answers --help and --version on standard output and ends the process; any
// other argument is left to Qt. Runs before any window or display connection
// exists, so both work on a machine without a display.
void AnswerInformationRequests(int argc, char* argv[]);

}  // namespace hostlore
