#pragma once
// Copies what a window shows in its client area.

#include "rgb_image.h"

#include <windows.h>

#include <optional>

namespace snapshot {

// BitBlt from the window's device context into a 24-bit DIB section. Nothing when the window
// has an empty client area or a GDI call fails. The window must be visible and painted: a hidden
// window captures black.
std::optional<RgbImage> captureClientArea(HWND window);

// Waits until the window is painted (waitUntilPainted) and two captures in a row show the same
// picture, so that a paint still running in the window's process is not caught half-way.
// Nothing when the deadline (a GetTickCount64 value) passes first.
std::optional<RgbImage> captureSettledClientArea(HWND window, ULONGLONG deadline);

} // namespace snapshot
