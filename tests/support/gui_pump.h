#pragma once
// Driving real windows in-process: pump the message queue until nothing more arrives.

#include "toolkit/application.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace sc::test {

// Handles messages until the queue has stayed empty for `quietMs`; messages that keep coming
// for `limitMs` fail the test that waited.
inline void pumpUntilIdle(DWORD quietMs = 50, DWORD limitMs = 3000) {
    DWORD start = GetTickCount();
    for (;;) {
        tk::Application().processMessages();
        if (tk::Application().terminated()) {
            return; // the quit request stays queued, and the program's loop would end here
        }
        if (GetTickCount() - start > limitMs) {
            ADD_FAILURE() << "messages kept coming for " << limitMs << " ms";
            return;
        }
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMs, QS_ALLINPUT) == WAIT_TIMEOUT) {
            return;
        }
    }
}

// Handles messages until `reached` holds; says whether it held. Not within `limitMs`, it fails
// the test that waited.
template <class Predicate> bool pumpUntil(Predicate reached, DWORD limitMs = 5000) {
    DWORD start = GetTickCount();
    while (!reached()) {
        if (GetTickCount() - start > limitMs) {
            ADD_FAILURE() << "the awaited state did not come within " << limitMs << " ms";
            return false;
        }
        tk::Application().processMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// A left click at a point of a window's client area, as the mouse would send it.
inline void clickAt(HWND hwnd, int x, int y) {
    PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pumpUntilIdle();
}

inline void keyDown(HWND hwnd, WPARAM key) {
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
    pumpUntilIdle();
}

} // namespace sc::test
