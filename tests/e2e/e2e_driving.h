#pragma once
// Driving the running start centre from another process: waiting for states, finding its
// windows, sending keys and looking at photographs.

#include "png_writer.h"
#include "suite_folder.h"
#include "window_capture.h"
#include "window_wait.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace e2e {

// Polls the condition every 10 ms until it holds (true) or the time is up (false).
inline bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

inline std::string classOf(HWND window) {
    char name[256] = {};
    const int n = GetClassNameA(window, name, sizeof(name));
    return std::string(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

inline HWND visibleWindowOf(DWORD processId, const char* className) {
    snapshot::WindowQuery query;
    query.className = className;
    query.processId = processId;
    return snapshot::findTopLevelWindow(query);
}

inline void postKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Waits for the main window of the process to paint, then chooses About from its help button's
// menu: a click at `inHelp` of the main window's client area, the menu's second entry by the
// keyboard. Gives the main window.
inline HWND openAboutFromTheHelpMenu(DWORD processId, POINT inHelp, DWORD timeoutMs = 15000) {
    HWND main = nullptr;
    EXPECT_TRUE(waitFor([&] { return (main = visibleWindowOf(processId, "TMainForm")) != nullptr; },
                        timeoutMs));
    EXPECT_TRUE(snapshot::waitUntilPainted(main, GetTickCount64() + timeoutMs));
    HWND help = ChildWindowFromPoint(main, inHelp);
    EXPECT_TRUE(help && help != main) << "no help button at " << inHelp.x << ", " << inHelp.y;
    MapWindowPoints(main, help, &inHelp, 1);
    PostMessageA(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inHelp.x, inHelp.y));
    PostMessageA(help, WM_LBUTTONUP, 0, MAKELPARAM(inHelp.x, inHelp.y));
    EXPECT_TRUE(waitFor([&] { return visibleWindowOf(processId, "#32768") != nullptr; }, timeoutMs))
        << "the help menu did not open";
    postKey(main, VK_DOWN);
    postKey(main, VK_DOWN);
    postKey(main, VK_RETURN);
    return main;
}

#ifdef SC_ARTEFACT_DIR
// Photographs the window once it has painted and settled; saved in the build's artefact folder.
inline std::optional<snapshot::RgbImage> photograph(HWND window, const char* fileName,
                                                    DWORD timeoutMs = 15000) {
    auto shot = snapshot::captureSettledClientArea(window, GetTickCount64() + timeoutMs);
    if (shot) {
        const std::string folder = windowsPath(SC_ARTEFACT_DIR);
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_TRUE(snapshot::writePngFile(folder + "\\" + fileName, *shot));
    }
    return shot;
}
#endif

} // namespace e2e
