// The start centre as a user meets it: a copy of the sample suite in a fresh folder, the real
// executable in its own process, driven through its windows from outside.

#include "child_process.h"
#include "e2e_driving.h"
#include "picture_check.h"
#include "png_writer.h"
#include "pointer.h"
#include "suite_folder.h"
#include "text/utf.h"
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
    HWND child = ChildWindowFromPoint(parent, POINT{x, y});
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 1);
    return child && classOf(child) == "ListBox" && r.left == x && r.top == y ? child : nullptr;
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

// Waits until the program has handled everything posted to the list so far: a mark posted
// after it has come through.
bool handledSoFar(HWND list) {
    static LPARAM mark = 0x5CA1AB1E;
    ++mark;
    PostMessageA(list, LB_SETITEMDATA, 0, mark);
    return waitFor([&] { return query(list, LB_GETITEMDATA) == mark; }, kLaunchTimeoutMs);
}

// Whether the process has a dialog window, shown yet or not.
bool hasDialog(DWORD processId) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && classOf(w) == "#32770") {
            return true;
        }
    }
    return false;
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
        auto leftBehind = [&] {
            std::vector<HWND> left;
            for (HWND window : visibleTopLevelWindows()) {
                if (!before.count(window)) {
                    left.push_back(window);
                }
            }
            return left;
        };
        waitFor([&] { return leftBehind().empty(); }, kCloseTimeoutMs);
        for (HWND window : leftBehind()) {
            ADD_FAILURE() << "window left behind: " << describe(window);
        }
        EXPECT_TRUE(suite.launchLog().empty()) << "a task program was started";
    }
};

// Device Info starts its program once; Disc Eraser, whose program is missing, starts nothing and
// says nothing, and the start centre stays open.
TEST_F(StartCentreEndToEnd, ToolsTasksStartTheirProgramOnceOrNothingAndTheWindowCloses) {
    SuiteFolder suite(SC_SUITE_DIR, std::string("[SYSTEM]\r\nName=Quillmark\r\n"), true);
    ASSERT_TRUE(suite.ok()) << suite.error();
    ASSERT_TRUE(DeleteFileW(sc::text::toUtf16(suite.path() + "EraseTool.exe").c_str()));
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
    // The pictures where they belong: the categories' at (60, 6) of their rows in the list whose
    // client area starts at (10, 10), and the second Data task's at (25, 15) of its row in the
    // list at (186, 10).
    const char* const pictures[] = {"category-data.png", "category-music.png", "category-video.png",
                                    "category-tools.png"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_TRUE(e2e::showsPicture(*shot, 10 + 60, 10 + row * kCategoryRowHeight + 6,
                                      e2e::artwork(pictures[row])));
    }
    EXPECT_TRUE(e2e::showsPicture(*shot, 186 + 25, 10 + kTaskRowHeight + 15,
                                  e2e::artwork("category-data.png")));

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

    clickAt(tasks, 233, kTaskRowHeight / 2);
    ASSERT_TRUE(handledSoFar(tasks));
    EXPECT_EQ(app.programsStarted(), 0);
    EXPECT_FALSE(hasDialog(app.id())) << "a message about the missing program";

    clickAt(tasks, 233, kDeviceInfoRow * kTaskRowHeight + kTaskRowHeight / 2);
    ASSERT_TRUE(handledSoFar(tasks));
    EXPECT_EQ(app.programsStarted(), 1);
    ASSERT_TRUE(waitFor([&] { return !suite.launchLog().empty(); }, kLaunchTimeoutMs))
        << "no task program was started";
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
