// The small icon the toolkit gives a window class is the one the system would make from the
// class icon of a program for a class without one: the same pixels in the caption.
#include "toolkit/live_handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned> pixels(HBITMAP bitmap, SIZE& size) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    size = SIZE{info.bmWidth, info.bmHeight};
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<unsigned> all(static_cast<std::size_t>(size.cx) *
                              static_cast<std::size_t>(size.cy));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), all.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return all;
}

TEST(ClassIcon, TheSmallIconIsTheOneTheSystemPicksForTheClass) {
    HINSTANCE exe = GetModuleHandleA(nullptr); // with the program's icon
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = exe;
    wc.lpszClassName = "SystemSmallIcon";
    wc.hIcon = LoadIconA(exe, MAKEINTRESOURCEA(1));
    ASSERT_NE(wc.hIcon, nullptr);
    ASSERT_NE(RegisterClassExA(&wc), 0);
    WNDCLASSEXA registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExA(wc.hInstance, wc.lpszClassName, &registered));
    HICON mine = tk::live::LoadClassSmallIcon(exe, MAKEINTRESOURCEW(1));
    ICONINFO system{}, given{};
    ASSERT_TRUE(GetIconInfo(registered.hIconSm, &system));
    ASSERT_TRUE(GetIconInfo(mine, &given));
    SIZE systemSize{}, givenSize{};
    EXPECT_EQ(pixels(given.hbmColor, givenSize), pixels(system.hbmColor, systemSize));
    EXPECT_EQ(givenSize.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(givenSize.cx, systemSize.cx);
    EXPECT_EQ(pixels(given.hbmMask, givenSize), pixels(system.hbmMask, systemSize));
    for (ICONINFO* parts : {&system, &given}) {
        DeleteObject(parts->hbmColor);
        DeleteObject(parts->hbmMask);
    }
    DestroyIcon(mine);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

} // namespace
