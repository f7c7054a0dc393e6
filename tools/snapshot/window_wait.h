#pragma once
// Finding another program's top-level window and waiting until it has painted itself.

#include <windows.h>

#include <optional>
#include <string>

namespace snapshot {

// What a top-level window must match (texts in UTF-8); fields left empty match any window.
struct WindowQuery {
    std::optional<std::string> title;     // exact caption
    std::optional<std::string> className; // exact window class name
    DWORD processId = 0;                  // owning process, 0 for any
};

// The first visible top-level window that matches, or nullptr.
HWND findTopLevelWindow(const WindowQuery& query);

// Polls findTopLevelWindow until it finds one or the deadline (a GetTickCount64 value) passes.
HWND waitForTopLevelWindow(const WindowQuery& query, ULONGLONG deadline);

// True when the window is visible and neither it nor any of its descendants has an update region.
bool hasNoPendingPaint(HWND window);

// Waits until the window's process is input-idle, its thread has handled everything sent to it
// so far, and hasNoPendingPaint holds on two such checks in a row. False when the deadline
// passes first or the window goes away.
bool waitUntilPainted(HWND window, ULONGLONG deadline);

} // namespace snapshot
