#pragma once

// The window half of the program lives in a module of its own, so that the
// command line's report runs without the toolkit's graphical libraries.

namespace hostlore {

// What the command line gives the window.
struct WindowStart {
    const char* url;  // empty: start as the settings say
    bool verbose;
};

using RunWindowFunction = int (*)(int argc, char* argv[], const WindowStart* start);

}  // namespace hostlore

extern "C" __attribute__((visibility("default"))) int hostlore_run_window(
    int argc, char* argv[], const hostlore::WindowStart* start);
