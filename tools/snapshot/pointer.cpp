#include "pointer.h"

#include <windows.h>

namespace snapshot {

namespace {

constexpr int kCorner = 1;

void pump(DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    MSG msg;
    while (GetTickCount64() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

bool atCorner() {
    POINT at{};
    return GetCursorPos(&at) && at.x == kCorner && at.y == kCorner;
}

bool warpAndWait() {
    SetCursorPos(kCorner, kCorner);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (atCorner()) {
            return true;
        }
        pump(10);
    }
    return false;
}

} // namespace

bool parkPointer() {
    if (atCorner() || warpAndWait()) {
        return true;
    }
    // The display lets a program warp the pointer only out of a window of its own: cover the
    // screen for a moment and warp again.
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!cover) {
        return false;
    }
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    pump(100);
    const bool parked = warpAndWait();
    DestroyWindow(cover);
    pump(50);
    return parked;
}

} // namespace snapshot
