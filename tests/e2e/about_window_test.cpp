// The About window as a user meets it: opened from the help button's menu of the running start
// centre, both tabs photographed, closed with Enter; and the message box of a missing logo.

#include "child_process.h"
#include "e2e_driving.h"
#include "picture_check.h"
#include "png_writer.h"
#include "pointer.h"
#include "suite_folder.h"
#include "text/utf.h"
#include "window_capture.h"
#include "window_wait.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

using namespace e2e;

namespace {

constexpr DWORD kTimeoutMs = 15000;

const std::string kDescription = "[SYSTEM]\r\nName=Quillmark\r\nVersion=4.2.0.118\r\n"
                                 "Company=Fernhollow Media Ltd.\r\n";

// The help button's bottom-left part.
constexpr POINT kInHelp{8 + 10, 432 + 30};

TEST(AboutWindowEndToEnd, OpensFromTheHelpMenuShowsBothTabsAndClosesWithEnter) {
    ASSERT_TRUE(snapshot::parkPointer());
    SuiteFolder suite(SC_SUITE_DIR, kDescription, true);
    ASSERT_TRUE(suite.ok()) << suite.error();
    ChildProcess app(suite.path() + "StartCentre.exe");
    ASSERT_TRUE(app.started());
    const HWND main = openAboutFromTheHelpMenu(app.id(), kInHelp);

    HWND about = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (about = visibleWindowOf(app.id(), "TFormAbout")) != nullptr;
    })) << "no About window";
    EXPECT_EQ(visibleWindowOf(app.id(), "#32770"), nullptr) << "a message appeared";
    char caption[256] = {};
    GetWindowTextA(about, caption, sizeof caption);
    EXPECT_STREQ(caption, "About Quillmark");
    EXPECT_EQ(GetWindow(about, GW_OWNER), main);
    EXPECT_FALSE(IsWindowEnabled(main));

    const auto aboutTab = e2e::photograph(about, "about-window-about-tab.png");
    ASSERT_TRUE(aboutTab.has_value());
    EXPECT_EQ(aboutTab->width, 523);
    EXPECT_EQ(aboutTab->height, 298);
    // The suite's 160 x 232 logo, centred in the 171 x 238 image inside the panel's bevels.
    EXPECT_TRUE(e2e::showsPicture(*aboutTab, 14 + (171 - 160) / 2, 14 + (238 - 232) / 2,
                                  suite.path() + "leftlogo.png"));

    HWND tabs = FindWindowExA(FindWindowExA(about, nullptr, nullptr, nullptr), nullptr,
                              WC_TABCONTROLA, nullptr); // in the panel that fills the window
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    postKey(tabs, VK_RIGHT);
    ASSERT_TRUE(waitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }));
    const auto updateTab = e2e::photograph(about, "about-window-update-tab.png");
    ASSERT_TRUE(updateTab.has_value());
    EXPECT_NE(updateTab->pixels, aboutTab->pixels) << "the Update tab looks like the About tab";

    postKey(tabs, VK_RETURN);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(about); })) << "Enter did not close the window";
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(app.running());

    PostMessageA(main, WM_CLOSE, 0, 0);
    const auto exitCode = app.waitForExit(kTimeoutMs);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
}

// The platform's own message box, not a double: the title as caption, the system's own error
// icon (in a static icon control) and the file named in the text.
TEST(AboutWindowEndToEnd, AMissingLogoIsReportedInOneErrorMessageBox) {
    ASSERT_TRUE(snapshot::parkPointer());
    SuiteFolder suite(SC_SUITE_DIR, kDescription, true);
    ASSERT_TRUE(suite.ok()) << suite.error();
    ASSERT_TRUE(DeleteFileW(sc::text::toUtf16(suite.path() + "leftlogo.png").c_str()));
    ChildProcess app(suite.path() + "StartCentre.exe");
    ASSERT_TRUE(app.started());
    const HWND main = openAboutFromTheHelpMenu(app.id(), kInHelp);

    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = visibleWindowOf(app.id(), "#32770")) != nullptr; }))
        << "no message box";
    ASSERT_TRUE(snapshot::waitUntilPainted(box, GetTickCount64() + kTimeoutMs));
    char text[512] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "Quillmark");
    HWND icon = nullptr, message = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const bool isIcon = (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (classOf(c) == "Static") {
            (isIcon ? icon : message) = c;
        }
    }
    ASSERT_NE(icon, nullptr) << "no icon";
    const auto shot = snapshot::captureClientArea(box);
    ASSERT_TRUE(shot.has_value());
    RECT r{};
    GetWindowRect(icon, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= shot->width && r.bottom <= shot->height);
    // The system's error icon drawn here over the control's background (its top-left pixel,
    // which the round icon leaves bare) is what the control shows: another icon fails.
    const int w = r.right - r.left, h = r.bottom - r.top;
    auto shown = [&](int x, int y) { return &shot->pixels[std::size_t(y * shot->width + x) * 3]; };
    const std::uint8_t* bare = shown(r.left, r.top);
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH background = CreateSolidBrush(RGB(bare[0], bare[1], bare[2]));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, background);
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, IDI_ERROR), w, h, 0, nullptr, DI_NORMAL);
    int differing = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            const std::uint8_t* p = shown(r.left + x, r.top + y);
            differing += std::abs(p[0] - GetRValue(c)) > 2 || std::abs(p[1] - GetGValue(c)) > 2 ||
                         std::abs(p[2] - GetBValue(c)) > 2;
        }
    }
    SelectObject(dc, old);
    DeleteObject(background);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_EQ(differing, 0) << "not the system's error icon in " << w << " x " << h;
    ASSERT_NE(message, nullptr);
    GetWindowTextA(message, text, sizeof text);
    EXPECT_NE(std::string(text).find("leftlogo.png"), std::string::npos) << text;

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND about = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (about = visibleWindowOf(app.id(), "TFormAbout")) != nullptr;
    })) << "no About window after the message";
    ASSERT_TRUE(snapshot::waitUntilPainted(about, GetTickCount64() + kTimeoutMs));
    EXPECT_EQ(visibleWindowOf(app.id(), "#32770"), nullptr) << "a second message";
    postKey(about, VK_RETURN);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(about); }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.waitForExit(kTimeoutMs).has_value());
}

} // namespace
