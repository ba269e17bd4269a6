#pragma once

#include "platform/command_line.h"

namespace hostlore {

// `hostlore --report URL`: runs one query without a window or display, prints
// its report on standard output and returns the exit status: 0 when the host
// resolved, 1 when it does not exist. An interrupt ends the process at once
// with status 130, before any of the report is written.
int RunReportCommand(int argc, char* argv[], const CommandLine& options);

}  // namespace hostlore
