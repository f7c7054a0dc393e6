#include "soak_driver.h"

#include "text/utf.h"
#include "toolkit/live_handles.h"
#include "window_wait.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace soak {

namespace {

// Every wait is for a state; the bound only turns a hang into a report.
constexpr ULONGLONG kStateTimeoutMs = 30000;

struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string classOf(HWND window) {
    wchar_t name[256] = {};
    const int n = GetClassNameW(window, name, 256);
    return sc::text::toUtf8(std::wstring_view(name, static_cast<std::size_t>(n > 0 ? n : 0)));
}

// What the user-interface thread shows and holds, for a report of a state not reached.
std::string threadState(DWORD thread) {
    std::string text = "foreground ";
    text.append(classOf(GetForegroundWindow()));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (thread && GetGUIThreadInfo(thread, &info)) {
        text.append(", active ").append(classOf(info.hwndActive));
        text.append(", focus ").append(classOf(info.hwndFocus));
        text.append(", capture ").append(classOf(info.hwndCapture));
        if (info.flags & GUI_INMENUMODE) {
            text.append(", in menu mode");
        }
    }
    text.append("; windows:");
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM context) -> BOOL {
            auto* t = reinterpret_cast<std::string*>(context);
            t->append(" ").append(classOf(w));
            if (!IsWindowVisible(w)) {
                t->append("(hidden)");
            }
            if (!IsWindowEnabled(w)) {
                t->append("(disabled)");
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

DWORD g_uiThread = 0;

// Whether the state was reached before the bound.
bool reachedWithin(ULONGLONG bound, const std::function<bool()>& reached) {
    const ULONGLONG deadline = GetTickCount64() + bound;
    while (!reached()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

void waitFor(const char* what, const std::function<bool()>& reached) {
    if (!reachedWithin(kStateTimeoutMs, reached)) {
        std::string message = "no state reached: ";
        message.append(what).append(" (").append(threadState(g_uiThread)).append(")");
        throw StepFailed(message);
    }
}

std::string textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return sc::text::toUtf8(text);
}

// The visible top-level window of a class on a thread, or nullptr.
HWND threadWindow(DWORD thread, const char* className) {
    struct Search {
        const char* name;
        HWND found;
    } search{className, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (IsWindowVisible(w) && classOf(w) == s->name) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM context) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(context)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND childOfClass(HWND parent, const std::string& className, const std::string& text = {}) {
    for (HWND w : childrenOf(parent)) {
        if (classOf(w) == className && (text.empty() || textOf(w) == text)) {
            return w;
        }
    }
    return nullptr;
}

// All windows of a thread, top-level and child: what the counts must agree with.
long windowsOnThread(DWORD thread) {
    long n = 0;
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM context) -> BOOL {
            auto* count = reinterpret_cast<long*>(context);
            *count += 1 + static_cast<long>(childrenOf(w).size());
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

LPARAM pointIn(const RECT& r) {
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void click(HWND window, LPARAM at) {
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void clickMiddle(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    click(window, pointIn(r));
}

void postKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

int listCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}
int listSelection(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}
RECT rowRect(HWND list, int row) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
}

std::vector<char> readFile(const std::string& path) {
    std::vector<char> bytes;
    if (FILE* f = _wfopen(sc::text::toUtf16(path).c_str(), L"rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        std::fclose(f);
    }
    return bytes;
}

void writeFile(const std::string& path, const char* data, std::size_t size) {
    FILE* f = _wfopen(sc::text::toUtf16(path).c_str(), L"wb");
    if (!f || std::fwrite(data, 1, size, f) != size) {
        if (f) {
            std::fclose(f);
        }
        throw StepFailed("cannot write " + path);
    }
    std::fclose(f);
}

class Soak {
  public:
    explicit Soak(const DriveOptions& options) : options_(options) {}

    int run() {
        findWindows();
        logo_ = readFile(options_.folder + "leftlogo.png");
        if (logo_.size() < 64) {
            throw StepFailed("no leftlogo.png in the suite folder");
        }
        for (int i = 0; i < options_.warmUpCycles; ++i) {
            cycle(i);
        }
        const Snapshot warm = measure();
        std::printf("%s\n", describe("warm-up", warm).c_str());
        std::fflush(stdout);
        std::vector<double> cycleMs;
        cycleMs.reserve(static_cast<std::size_t>(options_.cycles));
        LARGE_INTEGER frequency, start, stop;
        QueryPerformanceFrequency(&frequency);
        for (int i = 0; i < options_.cycles; ++i) {
            QueryPerformanceCounter(&start);
            cycle(options_.warmUpCycles + i);
            QueryPerformanceCounter(&stop);
            cycleMs.push_back(1000.0 * static_cast<double>(stop.QuadPart - start.QuadPart) /
                              static_cast<double>(frequency.QuadPart));
            if ((i + 1) % 100 == 0) {
                std::printf("%d cycles\n", i + 1);
                std::fflush(stdout);
            }
        }
        const Snapshot end = measure();
        std::printf("%s\n", describe("end", end).c_str());
        const Verdict verdict = judge(warm, end, cycleMs);
        std::printf("%d cycles after %d warm-up cycles\n%s", options_.cycles, options_.warmUpCycles,
                    describe(warm, end, verdict).c_str());
        std::fflush(stdout);
        PostMessageW(main_, WM_CLOSE, 0, 0);
        return verdict.ok() ? 0 : 1;
    }

  private:
    void findWindows() {
        waitFor("the main window is shown", [&] {
            main_ = nullptr;
            EnumWindows(
                [](HWND w, LPARAM context) -> BOOL {
                    DWORD process = 0;
                    GetWindowThreadProcessId(w, &process);
                    if (process == GetCurrentProcessId() && IsWindowVisible(w) &&
                        classOf(w) == "TMainForm") {
                        *reinterpret_cast<HWND*>(context) = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&main_));
            return main_ != nullptr;
        });
        uiThread_ = GetWindowThreadProcessId(main_, nullptr);
        g_uiThread = uiThread_;
        waitFor("the task list is filled", [&] {
            std::vector<HWND> lists;
            for (HWND w : childrenOf(main_)) {
                if (classOf(w) == "ListBox" || classOf(w) == "LISTBOX") {
                    lists.push_back(w);
                }
            }
            if (lists.size() != 2) {
                return false;
            }
            std::sort(lists.begin(), lists.end(), [](HWND a, HWND b) {
                RECT ra{}, rb{};
                GetWindowRect(a, &ra);
                GetWindowRect(b, &rb);
                return ra.left < rb.left;
            });
            categories_ = lists[0];
            tasks_ = lists[1];
            return listCount(tasks_) > 0;
        });
        // The help button: the leftmost child below the lists.
        RECT lists{};
        GetWindowRect(categories_, &lists);
        LONG bestLeft = LONG_MAX;
        for (HWND w : childrenOf(main_)) {
            RECT r{};
            GetWindowRect(w, &r);
            if (r.top >= lists.bottom && IsWindowVisible(w) && r.left < bestLeft &&
                r.right - r.left > 8) {
                bestLeft = r.left;
                help_ = w;
            }
        }
        if (!help_) {
            throw StepFailed("no help button");
        }
    }

    // The user-interface thread has handled everything sent and posted so far and nothing
    // waits to be painted.
    void settle(HWND window) {
        waitFor("the window has painted", [&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            return snapshot::hasNoPendingPaint(window);
        });
    }

    void cycle(int n) {
        switchCategories();
        hoverTasks();
        launchTask(n);
        openAndDismissMenu();
        openAbout(Logo::missing, Close::okButton);
        openAbout(Logo::corrupt, Close::closeBox);
        openAbout(Logo::good, Close::enterKey);
    }

    void switchCategories() {
        static constexpr int kTasks[] = {4, 2, 3, 5};
        for (int c = 0; c < 4; ++c) {
            click(categories_, pointIn(rowRect(categories_, c)));
            waitFor("the category is chosen and its tasks listed", [&] {
                return listSelection(categories_) == c && listCount(tasks_) == kTasks[c] &&
                       listSelection(tasks_) == 0;
            });
            RedrawWindow(main_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            settle(main_);
        }
    }

    void hoverTasks() {
        const int rows = listCount(tasks_);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < rows; ++i) {
                const int row = pass == 0 ? i : rows - 1 - i;
                PostMessageW(tasks_, WM_MOUSEMOVE, 0, pointIn(rowRect(tasks_, row)));
                waitFor("the row under the pointer is selected",
                        [&] { return listSelection(tasks_) == row; });
            }
        }
        settle(main_);
    }

    void launchTask(int n) {
        const std::string log = options_.folder + "standin.log";
        const std::size_t before = readFile(log).size();
        const int row = n % listCount(tasks_);
        click(tasks_, pointIn(rowRect(tasks_, row)));
        waitFor("the task program has started", [&] { return readFile(log).size() > before; });
        HWND standin = nullptr;
        waitFor("the task program shows its window", [&] {
            standin = FindWindowW(L"StartCentreStandIn", nullptr);
            return standin != nullptr;
        });
        DWORD process = 0;
        GetWindowThreadProcessId(standin, &process);
        HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
        PostMessageW(standin, WM_COMMAND, IDCANCEL, 0);
        if (handle) {
            waitFor("the task program has ended",
                    [&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; });
            CloseHandle(handle);
        } else {
            waitFor("the task program has closed", [&] { return !IsWindow(standin); });
        }
        // As a user comes back to the start centre after the task program: its window active
        // again before the next click, so that no late activation closes a menu opened then.
        SetForegroundWindow(main_);
        waitFor("the main window is active again", [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetForegroundWindow() == main_ && GetGUIThreadInfo(uiThread_, &info) &&
                   info.hwndActive == main_;
        });
        settle(main_);
    }

    // Now and then Wine's late word of an activation (the task program's window gone) takes the
    // pointer from the held button or closes the menu as it opens, and the click comes to
    // nothing; a user clicks again, and so does the driver, a few times before it gives up.
    HWND openMenu() {
        HWND menu = nullptr;
        auto open = [&] { return (menu = threadWindow(uiThread_, "#32768")) != nullptr; };
        for (int attempt = 1; attempt < 3; ++attempt) {
            clickMiddle(help_);
            if (reachedWithin(kStateTimeoutMs / 6, open)) {
                return menu;
            }
            settle(main_);
        }
        clickMiddle(help_);
        waitFor("the popup menu is open", open);
        return menu;
    }

    void openAndDismissMenu() {
        openMenu();
        postKey(main_, VK_ESCAPE);
        waitFor("the popup menu is closed",
                [&] { return threadWindow(uiThread_, "#32768") == nullptr; });
        settle(main_);
    }

    enum class Logo { good, missing, corrupt };
    enum class Close { okButton, closeBox, enterKey };

    void placeLogo(Logo logo) {
        const std::string path = options_.folder + "leftlogo.png";
        switch (logo) {
        case Logo::good:
            writeFile(path, logo_.data(), logo_.size());
            break;
        case Logo::missing:
            DeleteFileW(sc::text::toUtf16(path).c_str());
            break;
        case Logo::corrupt:
            // The signature and header intact, the image data cut off half-way.
            writeFile(path, logo_.data(), logo_.size() / 2);
            break;
        }
    }

    void openAbout(Logo logo, Close close) {
        placeLogo(logo);
        openMenu();
        postKey(main_, VK_DOWN);
        postKey(main_, VK_DOWN);
        postKey(main_, VK_RETURN);
        if (logo != Logo::good) {
            HWND error = nullptr;
            waitFor("the error dialog is shown",
                    [&] { return (error = threadWindow(uiThread_, "#32770")) != nullptr; });
            PostMessageW(error, WM_COMMAND, IDOK, 0);
            waitFor("the error dialog is closed", [&] { return !IsWindow(error); });
        }
        HWND about = nullptr;
        waitFor("the About window is shown",
                [&] { return (about = threadWindow(uiThread_, "TFormAbout")) != nullptr; });
        if (threadWindow(uiThread_, "#32770")) {
            throw StepFailed("an error dialog with a good logo");
        }
        HWND tabs = nullptr;
        waitFor("the About window has its tabs", [&] {
            return (tabs = childOfClass(about, sc::text::toUtf8(WC_TABCONTROLW))) != nullptr;
        });
        postKey(tabs, VK_RIGHT);
        waitFor("the Update tab is shown",
                [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1; });
        settle(about);
        postKey(tabs, VK_LEFT);
        waitFor("the About tab is shown",
                [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 0; });
        settle(about);
        switch (close) {
        case Close::okButton: {
            HWND ok = childOfClass(about, "Button", "&OK");
            if (!ok) {
                throw StepFailed("no OK button in the About window");
            }
            PostMessageW(ok, BM_CLICK, 0, 0);
            break;
        }
        case Close::closeBox:
            PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Close::enterKey:
            postKey(tabs, VK_RETURN);
            break;
        }
        waitFor("the About window is closed and freed", [&] { return !IsWindow(about); });
        placeLogo(Logo::good);
        settle(main_);
    }

    Snapshot measure() {
        settle(main_);
        const tk::live::Counts live = tk::live::Now();
        Snapshot s;
        s.gdiObjects = live.gdiObjects;
        s.icons = live.icons;
        s.imageLists = live.imageLists;
        s.menus = live.menus;
        s.windows = live.windows;
        s.threadWindows = windowsOnThread(uiThread_);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(GetCurrentProcess(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof memory)) {
            // Wine fills PagefileUsage (the same figure on Windows) but not always PrivateUsage.
            s.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        }
        return s;
    }

    DriveOptions options_;
    std::vector<char> logo_;
    HWND main_ = nullptr;
    DWORD uiThread_ = 0;
    HWND categories_ = nullptr;
    HWND tasks_ = nullptr;
    HWND help_ = nullptr;
};

} // namespace

int drive(const DriveOptions& options) {
    try {
        return Soak(options).run();
    } catch (const std::exception& e) {
        // The windows are in a state the driver cannot leave: end here instead of hanging.
        std::printf("soak failed: %s\n", e.what());
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 2);
        return 2;
    }
}

} // namespace soak
