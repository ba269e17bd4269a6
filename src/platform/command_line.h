#pragma once

namespace hostlore {

struct ProgramOptions {
    // Print what the browser engine and the pages write to the console.
    bool verbose = false;
};

// Answers --help and --version on standard output and ends the process;
// returns the program's other options; any other argument is left to Qt.
// Runs before any window or display connection exists, so both work on a
// machine without a display.
ProgramOptions AnswerInformationRequests(int argc, char* argv[]);

}  // namespace hostlore
