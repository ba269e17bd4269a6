#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// In a child just forked: becomes `command`, looked up on PATH.
[[noreturn]] inline void ExecCommand(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    std::_Exit(127);
}

}  // namespace bench
