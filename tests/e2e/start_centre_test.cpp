// The start centre as a user meets it: a copy of the sample suite in a fresh folder, the real
// executable in its own process, driven through its windows from outside.

#include "child_process.h"
#include "e2e_driving.h"
#include "png_writer.h"
#include "pointer.h"
#include "suite_folder.h"
#include "window_capture.h"
#include "window_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using e2e::ChildProcess;
using e2e::classOf;
using e2e::SuiteFolder;
using e2e::waitFor;

constexpr DWORD kWindowTimeoutMs = 15000;
constexpr DWORD kLaunchTimeoutMs = 10000;
constexpr DWORD kCloseTimeoutMs = 10000;
constexpr DWORD kQuietEndTimeoutMs = 5000;

constexpr int kCategoryRowHeight = 80;
constexpr int kTaskRowHeight = 75;
constexpr int kToolsCategory = 3;
constexpr int kDeviceInfoRow = 1;

LRESULT query(HWND window, UINT message, WPARAM wParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
        return LB_ERR;
    }
    return static_cast<LRESULT>(result);
}

// The child of class "ListBox" whose top-left corner lies at (x, y) of the parent's client area.
HWND listBoxAt(HWND parent, int x, int y) {
    struct Search {
        HWND parent;
        POINT corner;
        HWND found;
    } search{parent, {x, y}, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            RECT r{};
            GetWindowRect(child, &r);
            POINT corner{r.left, r.top};
            ScreenToClient(s->parent, &corner);
            if (classOf(child) == "ListBox" && corner.x == s->corner.x && corner.y == s->corner.y) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A left click at a point of the list's client area, as the mouse would send it.
void clickAt(HWND list, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

std::set<HWND> visibleTopLevelWindows() {
    std::set<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            if (IsWindowVisible(window)) {
                reinterpret_cast<std::set<HWND>*>(context)->insert(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string describe(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof(title));
    return "class \"" + classOf(window) + "\", caption \"" + title + "\"";
}

std::string artefactPath(const char* fileName) {
    const std::string folder = e2e::windowsPath(SC_ARTEFACT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + fileName;
}

// How many different colours a picture holds, counted up to limit.
std::size_t colourCount(const snapshot::RgbImage& image, std::size_t limit) {
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < image.pixels.size() && colours.size() < limit; i += 3) {
        colours.insert(static_cast<std::uint32_t>(image.pixels[i]) << 16 |
                       static_cast<std::uint32_t>(image.pixels[i + 1]) << 8 | image.pixels[i + 2]);
    }
    return colours.size();
}

// The part of a picture in the rectangle (left, top, width, height), cut to the picture.
snapshot::RgbImage crop(const snapshot::RgbImage& image, int left, int top, int width, int height) {
    snapshot::RgbImage part;
    for (int y = top; y < top + height && y < image.height; ++y) {
        for (int x = left; x < left + width && x < image.width; ++x) {
            const auto at = static_cast<std::size_t>((y * image.width + x) * 3);
            part.pixels.insert(part.pixels.end(), image.pixels.begin() + static_cast<long>(at),
                               image.pixels.begin() + static_cast<long>(at) + 3);
        }
    }
    part.width = width;
    part.height = height;
    return part;
}

class StartCentreEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        // Keep the real pointer away from the window so that hovering changes no selection.
        ASSERT_TRUE(snapshot::parkPointer());
    }

    static std::string startCentreIn(const SuiteFolder& suite) {
        return suite.path() + "StartCentre.exe";
    }

    // Runs the start centre from a suite with the given lame.dll (none when empty) and expects
    // it to end by itself, quickly and without showing any message or leaving a window.
    static void expectQuietEnd(const std::optional<std::string>& descriptionFile) {
        SuiteFolder suite(SC_SUITE_DIR, descriptionFile, true);
        ASSERT_TRUE(suite.ok()) << suite.error();
        const std::set<HWND> before = visibleTopLevelWindows();
        std::set<HWND> appeared;

        ChildProcess app(startCentreIn(suite));
        ASSERT_TRUE(app.started());
        const ULONGLONG deadline = GetTickCount64() + kQuietEndTimeoutMs;
        std::optional<DWORD> exitCode;
        while (!(exitCode = app.waitForExit(10)) && GetTickCount64() < deadline) {
            for (HWND window : visibleTopLevelWindows()) {
                if (!before.count(window) && classOf(window) == "#32770") {
                    appeared.insert(window);
                }
            }
        }
        ASSERT_TRUE(exitCode.has_value()) << "still running after " << kQuietEndTimeoutMs << " ms";
        EXPECT_EQ(*exitCode, 0u);
        for (HWND window : appeared) {
            ADD_FAILURE() << "a dialog appeared: " << describe(window);
        }
        Sleep(200);
        for (HWND window : visibleTopLevelWindows()) {
            if (!before.count(window)) {
                ADD_FAILURE() << "window left behind: " << describe(window);
            }
        }
        EXPECT_TRUE(suite.launchLog().empty()) << "a task program was started";
    }
};

TEST_F(StartCentreEndToEnd, DeviceInfoOfToolsStartsItsProgramOnceAndWindowCloses) {
    SuiteFolder suite(SC_SUITE_DIR, std::string("[SYSTEM]\r\nName=Quillmark\r\n"), true);
    ASSERT_TRUE(suite.ok()) << suite.error();
    ChildProcess app(startCentreIn(suite));
    ASSERT_TRUE(app.started());

    snapshot::WindowQuery mainForm;
    mainForm.className = "TMainForm";
    mainForm.processId = app.id();
    HWND window = snapshot::waitForTopLevelWindow(mainForm, GetTickCount64() + kWindowTimeoutMs);
    ASSERT_NE(window, nullptr) << "no visible TMainForm window";

    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Quillmark");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 658);
    EXPECT_EQ(client.bottom - client.top, 478);

    const auto shot =
        snapshot::captureSettledClientArea(window, GetTickCount64() + kWindowTimeoutMs);
    ASSERT_TRUE(shot.has_value()) << "the window did not settle painted";
    EXPECT_TRUE(snapshot::writePngFile(artefactPath("main-window.png"), *shot));
    EXPECT_EQ(shot->width, 658);
    // Text, frames and the selection highlight make for a dozen colours or more; a blank window
    // has two or three, a hidden one captures black.
    EXPECT_GE(colourCount(*shot, 64), 8u);
    // The pictures: the Data category's (list at 8, 8 with a 2-pixel border, picture at 60, 6)
    // and the second task row's (list at 184, 8, picture at 25, 75 + 15) are shaded artwork.
    EXPECT_GE(colourCount(crop(*shot, 70, 16, 48, 48), 64), 32u) << "no category picture";
    EXPECT_GE(colourCount(crop(*shot, 211, 100, 48, 48), 64), 32u) << "no task picture";

    HWND categories = listBoxAt(window, 8, 8);
    HWND tasks = listBoxAt(window, 184, 8);
    ASSERT_NE(categories, nullptr) << "no ListBox at (8,8)";
    ASSERT_NE(tasks, nullptr) << "no ListBox at (184,8)";
    EXPECT_EQ(query(categories, LB_GETITEMHEIGHT), kCategoryRowHeight);
    EXPECT_EQ(query(tasks, LB_GETITEMHEIGHT), kTaskRowHeight);
    EXPECT_EQ(query(categories, LB_GETCOUNT), 4);
    EXPECT_EQ(query(categories, LB_GETCURSEL), 0);
    EXPECT_EQ(query(tasks, LB_GETCOUNT), 4) << "the Data tasks";
    EXPECT_EQ(query(tasks, LB_GETCURSEL), 0);

    clickAt(categories, 84, kToolsCategory * kCategoryRowHeight + kCategoryRowHeight / 2);
    ASSERT_TRUE(waitFor([&] { return query(tasks, LB_GETCOUNT) == 5; }, kLaunchTimeoutMs))
        << "the task list did not change to the five Tools tasks";
    EXPECT_EQ(query(categories, LB_GETCURSEL), kToolsCategory);
    EXPECT_EQ(query(tasks, LB_GETCURSEL), 0);

    clickAt(tasks, 233, kDeviceInfoRow * kTaskRowHeight + kTaskRowHeight / 2);
    ASSERT_TRUE(waitFor([&] { return !suite.launchLog().empty(); }, kLaunchTimeoutMs))
        << "no task program was started";
    Sleep(500); // room for a second, unwanted start to show in the log
    EXPECT_EQ(suite.launchLog(), std::vector<std::string>{"DriveInfoTool.exe"});

    EXPECT_TRUE(app.running());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(query(tasks, LB_GETCURSEL), kDeviceInfoRow);

    PostMessageA(window, WM_CLOSE, 0, 0);
    const auto exitCode = app.waitForExit(kCloseTimeoutMs);
    ASSERT_TRUE(exitCode.has_value()) << "still running after WM_CLOSE";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(StartCentreEndToEnd, ProductNameInOtherLetterCaseEndsWithoutMessage) {
    expectQuietEnd(std::string("[SYSTEM]\r\nName=quillmark\r\n"));
}

TEST_F(StartCentreEndToEnd, MissingDescriptionFileEndsWithoutMessage) {
    expectQuietEnd(std::nullopt);
}

} // namespace
