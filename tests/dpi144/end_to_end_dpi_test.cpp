// The start centre as a user at 150 % meets it: the built suite started at a system DPI of 144,
// the main window and the About window photographed as artefacts of the build.
#include "child_process.h"
#include "e2e_driving.h"
#include "picture_check.h"
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

TEST(EndToEndAt144, MainAndAboutWindowsOpenScaledAndArePhotographed) {
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
    const auto mainShot = e2e::photograph(main, "main-window-144.png");
    ASSERT_TRUE(mainShot.has_value());
    EXPECT_EQ(mainShot->width, 987);
    EXPECT_EQ(mainShot->height, 717);
    // The category pictures drawn at 1.5 times, at (91, 9) of their 120-pixel rows in the list
    // whose client area starts at (14, 14).
    const char* const pictures[] = {"category-data-150.png", "category-music-150.png",
                                    "category-video-150.png", "category-tools-150.png"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_TRUE(
            e2e::showsPicture(*mainShot, 14 + 91, 14 + row * 120 + 9, e2e::artwork(pictures[row])));
    }

    // The help button lies at (12, 648), 69 x 63: its menu's second entry opens the About window.
    openAboutFromTheHelpMenu(app.id(), POINT{12 + 15, 648 + 45});

    HWND about = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (about = visibleWindowOf(app.id(), "TFormAbout")) != nullptr;
    })) << "no About window";
    const auto aboutShot = e2e::photograph(about, "about-window-144.png");
    ASSERT_TRUE(aboutShot.has_value());
    EXPECT_EQ(aboutShot->width, 785);
    EXPECT_EQ(aboutShot->height, 447);

    HWND tabs = FindWindowExA(about, nullptr, nullptr, nullptr);
    tabs = tabs ? FindWindowExA(tabs, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
    ASSERT_NE(tabs, nullptr);
    postKey(tabs, VK_RIGHT);
    ASSERT_TRUE(waitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }));
    const auto updateShot = e2e::photograph(about, "about-window-update-tab-144.png");
    ASSERT_TRUE(updateShot.has_value());
    EXPECT_NE(updateShot->pixels, aboutShot->pixels);

    postKey(tabs, VK_RETURN);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(about); })) << "Enter did not close it";
    PostMessageA(main, WM_CLOSE, 0, 0);
    const auto exitCode = app.waitForExit(kTimeoutMs);
    ASSERT_TRUE(exitCode.has_value()) << "still running after WM_CLOSE";
    EXPECT_EQ(*exitCode, 0u);
}

} // namespace
