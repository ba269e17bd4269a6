#pragma once

#include "platform/command_line.h"

namespace hostlore {

// `hostlore --report URL...`: queries each site without a window or display,
// several at once, prints their reports on standard output in the order
// given and returns the exit status: 0 when every host resolved, 1 when any
// does not exist, 2 when the input file cannot be read, 3 when the reports
// cannot be written. An interrupt ends the process at once with status 130,
// after the reports written whole so far.
int RunReportCommand(int argc, char* argv[], const CommandLine& options);

}  // namespace hostlore
