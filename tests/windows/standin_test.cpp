// The stand-in task programs as the start centre and the tests meet them, in a copy of the sample
// suite: each one notes its start in standin.log beside it, names the tasks it stands for and
// closes on its button, or by itself after a second when standin.autoclose lies beside it.
#include "catalogue/task_catalogue.h"
#include "child_process.h"
#include "suite_folder.h"
#include "window_wait.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 20000;

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end()); // the names here are ASCII
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Titles (first text line) of the catalogue's tasks that `programFile` carries out.
std::vector<std::string> taskTitlesOf(const std::string& programFile) {
    std::vector<std::string> titles;
    for (int category = 0; category < sc::kCategoryCount; ++category) {
        const auto texts = sc::categoryTaskTexts(category, "Quillmark");
        for (int row = 0; texts && row < static_cast<int>(texts->size()); ++row) {
            if (sc::taskProgramFile(category, row) == programFile) {
                const std::string& text = (*texts)[static_cast<size_t>(row)];
                titles.push_back(text.substr(0, text.find('\r')));
            }
        }
    }
    return titles;
}

HWND windowOf(const e2e::ChildProcess& program) {
    snapshot::WindowQuery query;
    query.processId = program.id();
    return snapshot::waitForTopLevelWindow(query, GetTickCount64() + kTimeoutMs);
}

TEST(StandIn, EachTaskProgramNotesItsStartNamesItsTasksAndClosesOnItsButton) {
    e2e::SuiteFolder folder(SC_SUITE_DIR, std::nullopt, false);
    ASSERT_TRUE(folder.ok()) << folder.error();
    std::vector<std::string> expectedLog;
    for (std::string_view view : sc::allProgramFiles()) {
        const std::string name(view);
        SCOPED_TRACE(name);
        e2e::ChildProcess program(folder.path() + name);
        ASSERT_TRUE(program.started());
        HWND window = windowOf(program);
        ASSERT_NE(window, nullptr);

        EXPECT_EQ(windowText(window), widen(name) + L" (stand-in)");
        HWND label = FindWindowExW(window, nullptr, L"Static", nullptr);
        ASSERT_NE(label, nullptr);
        const std::wstring text = windowText(label);
        EXPECT_EQ(text.rfind(L"Stand-in for ", 0), 0u)
            << "text: " << std::string(text.begin(), text.end());
        EXPECT_NE(text.find(widen(name)), std::wstring::npos);
        const std::vector<std::string> titles = taskTitlesOf(name);
        EXPECT_FALSE(titles.empty());
        for (const std::string& title : titles) {
            EXPECT_NE(text.find(widen(title)), std::wstring::npos) << "does not name " << title;
        }

        expectedLog.push_back(name);
        EXPECT_EQ(folder.launchLog(), expectedLog);

        HWND close = FindWindowExW(window, nullptr, L"Button", L"Close");
        ASSERT_NE(close, nullptr);
        SendMessageW(close, BM_CLICK, 0, 0);
        ASSERT_EQ(program.waitForExit(kTimeoutMs), std::optional<DWORD>(0));
    }
}

// Without the file it does not end by itself: not within 2.5 times the second it would take.
TEST(StandIn, StaysOpenWithoutTheAutocloseFile) {
    e2e::SuiteFolder folder(SC_SUITE_DIR, std::nullopt, false);
    ASSERT_TRUE(folder.ok()) << folder.error();
    e2e::ChildProcess program(folder.path() + "DriveInfoTool.exe");
    ASSERT_TRUE(program.started());
    ASSERT_NE(windowOf(program), nullptr);
    EXPECT_FALSE(program.waitForExit(2500).has_value()) << "it ended by itself";
}

TEST(StandIn, SimultaneousStartsAppendWholeLinesAndAllCloseThemselves) {
    e2e::SuiteFolder folder(SC_SUITE_DIR, std::nullopt, true);
    ASSERT_TRUE(folder.ok()) << folder.error();
    std::vector<std::string> expected;
    std::vector<std::unique_ptr<e2e::ChildProcess>> programs;
    for (int round = 0; round < 2; ++round) {
        for (std::string_view name : sc::allProgramFiles()) {
            programs.push_back(
                std::make_unique<e2e::ChildProcess>(folder.path() + std::string(name)));
            ASSERT_TRUE(programs.back()->started());
            expected.emplace_back(name);
        }
    }
    // All of them together get the time that one may take.
    const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
    for (const auto& program : programs) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        ASSERT_EQ(program->waitForExit(left), std::optional<DWORD>(0))
            << "a stand-in did not close itself";
    }
    std::vector<std::string> lines = folder.launchLog();
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

} // namespace
