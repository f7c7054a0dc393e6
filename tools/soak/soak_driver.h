#pragma once
// The soak driver: from a thread of its own it drives the start centre's real windows, which
// run on the process's user-interface thread, through their messages as a user would, and
// measures what the program holds after a warm-up and after the loop.

#include "soak_verdict.h"

#include <windows.h>

#include <string>

namespace soak {

struct DriveOptions {
    int warmUpCycles = 10;
    int cycles = 1000;
    std::string folder; // the suite folder the start centre runs in, ending in a backslash
};

// Runs the warm-up and the loop against the start centre of this process, then closes its
// main window. Prints the measurements to standard output. Returns the process exit code:
// 0 when every goal held, 1 when a goal failed, 2 when a step did not reach its state.
int drive(const DriveOptions& options);

} // namespace soak
