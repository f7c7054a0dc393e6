// Marks between the phases of the program's start, for a tracing build that measures where the
// start-up time goes. The program itself installs no hook, so a mark costs one test of a null
// pointer and does nothing else.
#pragma once

namespace tk {

// Receives the name of the phase that the time since the previous mark belonged to.
using StartupMarkHook = void (*)(const char* phase);

inline StartupMarkHook startupMarkHook = nullptr;

inline void startupMark(const char* phase) {
    if (startupMarkHook) {
        startupMarkHook(phase);
    }
}

} // namespace tk
