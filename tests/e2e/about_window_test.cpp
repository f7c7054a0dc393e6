// The About window as a user meets it: opened from the help button's menu of the running start
// centre, both tabs photographed, closed with Enter.

#include "child_process.h"
#include "e2e_driving.h"
#include "png_writer.h"
#include "pointer.h"
#include "suite_folder.h"
#include "window_capture.h"
#include "window_wait.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

using namespace e2e;

namespace {

constexpr DWORD kTimeoutMs = 15000;

HWND descendantOfClass(HWND parent, const std::string& className) {
    struct Search {
        const std::string* name;
        HWND found;
    } search{&className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (classOf(child) == *s->name) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(AboutWindowEndToEnd, OpensFromTheHelpMenuShowsBothTabsAndClosesWithEnter) {
    ASSERT_TRUE(snapshot::parkPointer());
    e2e::SuiteFolder suite(SC_SUITE_DIR,
                           std::string("[SYSTEM]\r\nName=Quillmark\r\nVersion=4.2.0.118\r\n"
                                       "Company=Fernhollow Media Ltd.\r\n"),
                           true);
    ASSERT_TRUE(suite.ok()) << suite.error();
    e2e::ChildProcess app(suite.path() + "StartCentre.exe");
    ASSERT_TRUE(app.started());

    HWND main = nullptr;
    ASSERT_TRUE(
        waitFor([&] { return (main = visibleWindowOf(app.id(), "TMainForm")) != nullptr; }));
    ASSERT_TRUE(snapshot::waitUntilPainted(main, GetTickCount64() + kTimeoutMs));

    // The help button's bottom-left part, then the menu's second entry by the keyboard.
    POINT inHelp{8 + 10, 432 + 30};
    HWND help = ChildWindowFromPoint(main, inHelp);
    ASSERT_NE(help, nullptr);
    ASSERT_NE(help, main) << "no help button at 8, 432";
    MapWindowPoints(main, help, &inHelp, 1);
    PostMessageA(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inHelp.x, inHelp.y));
    PostMessageA(help, WM_LBUTTONUP, 0, MAKELPARAM(inHelp.x, inHelp.y));
    ASSERT_TRUE(waitFor([&] { return visibleWindowOf(app.id(), "#32768") != nullptr; }))
        << "the help menu did not open";
    postKey(main, VK_DOWN);
    postKey(main, VK_DOWN);
    postKey(main, VK_RETURN);

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
    // The logo's gradient alone has dozens of colours; text and frames add more.
    EXPECT_GE(colourCount(*aboutTab), 64u);

    HWND tabs = descendantOfClass(about, WC_TABCONTROLA);
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

} // namespace
