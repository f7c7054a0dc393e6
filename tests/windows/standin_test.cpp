// The stand-in task programs as the start centre and the tests meet them: each one notes its
// start in standin.log beside it, names the tasks it stands for and closes on its button, or by
// itself after a second when standin.autoclose lies beside it.
#include "catalogue/task_catalogue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end()); // the names here are ASCII
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A fresh folder holding copies of the built stand-ins, removed with everything in it.
class StandInFolder {
  public:
    explicit StandInFolder(bool autoclose) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"standin-test-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(GetTickCount64()) + L"\\";
        ok_ = CreateDirectoryW(path_.c_str(), nullptr) != 0;
        for (std::string_view name : sc::allProgramFiles()) {
            const std::wstring file = widen(std::string(name));
            ok_ = ok_ && CopyFileW((widen(SC_STANDIN_DIR) + L"/" + file).c_str(),
                                   (path_ + file).c_str(), TRUE);
        }
        if (autoclose) {
            ok_ = ok_ && write(L"standin.autoclose", "");
        }
    }
    ~StandInFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((path_ + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path_.c_str());
    }
    StandInFolder(const StandInFolder&) = delete;
    StandInFolder& operator=(const StandInFolder&) = delete;

    bool ok() const { return ok_; }
    std::wstring file(const std::string& name) const { return path_ + widen(name); }

    bool write(const std::wstring& name, const std::string& content) const {
        std::ofstream out(std::filesystem::path(path_ + name), std::ios::binary);
        out << content;
        return static_cast<bool>(out.flush());
    }

    // The raw bytes of standin.log; empty when there is none.
    std::string log() const {
        std::ifstream in(std::filesystem::path(path_ + L"standin.log"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::wstring path_;
    bool ok_ = false;
};

// A started program; ended by force if a test leaves it running.
class Process {
  public:
    explicit Process(const std::wstring& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + exe + L"\"";
        started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &info_) != 0;
    }
    ~Process() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
                WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }
    bool running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

    // Exit code once the program has ended within `ms`; -1 if it is still running.
    long exitCodeWithin(DWORD ms) const {
        if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

    // The program's visible top-level window, once it has one; nullptr after the time-out.
    HWND waitForWindow() const {
        const ULONGLONG end = GetTickCount64() + kWindowTimeoutMs;
        while (GetTickCount64() < end) {
            struct Search {
                DWORD pid;
                HWND found;
            } search{info_.dwProcessId, nullptr};
            EnumWindows(
                [](HWND window, LPARAM param) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(param);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(window, &pid);
                    if (pid == s->pid && IsWindowVisible(window)) {
                        s->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                return search.found;
            }
            Sleep(50);
        }
        return nullptr;
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

std::vector<std::string> splitLines(const std::string& log) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(log.substr(start, end - start));
    }
    if (start != log.size()) {
        lines.push_back(log.substr(start) + " (unterminated)");
    }
    return lines;
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

TEST(StandIn, EachTaskProgramNotesItsStartNamesItsTasksAndClosesOnItsButton) {
    StandInFolder folder(false);
    ASSERT_TRUE(folder.ok());
    std::vector<std::string> expectedLog;
    for (std::string_view view : sc::allProgramFiles()) {
        const std::string name(view);
        SCOPED_TRACE(name);
        Process program(folder.file(name));
        ASSERT_TRUE(program.started());
        HWND window = program.waitForWindow();
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
        EXPECT_EQ(splitLines(folder.log()), expectedLog);

        HWND close = FindWindowExW(window, nullptr, L"Button", L"Close");
        ASSERT_NE(close, nullptr);
        SendMessageW(close, BM_CLICK, 0, 0);
        ASSERT_EQ(program.exitCodeWithin(kExitTimeoutMs), 0);
    }
}

TEST(StandIn, StaysOpenWithoutTheAutocloseFile) {
    StandInFolder folder(false);
    ASSERT_TRUE(folder.ok());
    Process program(folder.file("DriveInfoTool.exe"));
    ASSERT_TRUE(program.started());
    ASSERT_NE(program.waitForWindow(), nullptr);
    Sleep(2500);
    EXPECT_TRUE(program.running());
}

TEST(StandIn, SimultaneousStartsAppendWholeLinesAndAllCloseThemselves) {
    StandInFolder folder(true);
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.write(L"standin.log", "Earlier.exe\n"));

    std::vector<std::string> expected{"Earlier.exe"};
    std::vector<std::unique_ptr<Process>> programs;
    for (int round = 0; round < 2; ++round) {
        for (std::string_view name : sc::allProgramFiles()) {
            programs.push_back(std::make_unique<Process>(folder.file(std::string(name))));
            ASSERT_TRUE(programs.back()->started());
            expected.emplace_back(name);
        }
    }
    // All of them together get the time that one may take.
    const ULONGLONG deadline = GetTickCount64() + kExitTimeoutMs;
    for (const auto& program : programs) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        ASSERT_EQ(program->exitCodeWithin(left), 0) << "a stand-in did not close itself";
    }
    std::vector<std::string> lines = splitLines(folder.log());
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

} // namespace
