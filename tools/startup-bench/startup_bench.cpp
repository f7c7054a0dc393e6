// startup-bench <suite folder> [runs]
// Starts the suite's StartCentre.exe and the bare window program (barewin.exe beside this
// program) in turn, each `runs` times after one untimed warm-up start, and measures the time
// from just before CreateProcess until the main window has completed its first paint: visible,
// the process input-idle, no update region on the window or its children. Each window is then
// closed with WM_CLOSE. Prints every run, the medians and their ratio.

#include "pointer.h"
#include "window_wait.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 15;
constexpr int kMaxRuns = 1000;
constexpr DWORD kPaintTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;

struct Subject {
    std::string label;
    std::string program;
    std::string windowClass;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder;
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// One start: milliseconds to the first complete paint, or nothing when it did not come.
std::optional<double> timeOneStart(const Subject& subject) {
    std::string commandLine = "\"" + subject.program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(subject.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", subject.program.c_str(),
                     GetLastError());
        return std::nullopt;
    }
    const ULONGLONG deadline = GetTickCount64() + kPaintTimeoutMs;
    snapshot::WindowQuery query;
    query.className = subject.windowClass;
    query.processId = process.dwProcessId;
    HWND window = snapshot::waitForTopLevelWindow(query, deadline);
    std::optional<double> elapsed;
    if (window && snapshot::waitUntilPainted(window, deadline)) {
        elapsed = millisecondsSince(start);
    } else {
        std::fprintf(stderr, "%s: no painted %s window within %lu ms\n", subject.label.c_str(),
                     subject.windowClass.c_str(), kPaintTimeoutMs);
    }

    if (window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not end after WM_CLOSE\n", subject.label.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitTimeoutMs);
        elapsed.reset();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

bool parseRuns(const char* text, int& runs) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > kMaxRuns) {
        return false;
    }
    runs = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int runs = kDefaultRuns;
    if (argc < 2 || argc > 3 || (argc == 3 && !parseRuns(argv[2], runs))) {
        std::fprintf(stderr, "usage: startup-bench <suite folder> [runs, 1..%d]\n", kMaxRuns);
        return 2;
    }
    char self[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        std::fprintf(stderr, "cannot find this program's folder\n");
        return 2;
    }
    const Subject subjects[] = {
        {"start centre", withTrailingSlash(argv[1]) + "StartCentre.exe", "TMainForm"},
        {"bare window", folderOf(self) + "barewin.exe", "BareWindow"},
    };
    // Keep the pointer off the windows: hovering over a list must not add work to a run.
    if (!snapshot::parkPointer()) {
        std::fprintf(stderr, "warning: could not move the pointer off the screen's centre\n");
    }

    for (const Subject& subject : subjects) {
        if (!timeOneStart(subject)) {
            return 1;
        }
    }
    std::vector<double> times[2];
    std::printf("%-5s %16s %16s\n", "run", "start centre ms", "bare window ms");
    for (int run = 1; run <= runs; ++run) {
        double row[2] = {};
        for (int s = 0; s < 2; ++s) {
            const auto elapsed = timeOneStart(subjects[s]);
            if (!elapsed) {
                return 1;
            }
            row[s] = *elapsed;
            times[s].push_back(*elapsed);
        }
        std::printf("%-5d %16.1f %16.1f\n", run, row[0], row[1]);
        std::fflush(stdout);
    }
    const double startCentre = median(times[0]);
    const double bare = median(times[1]);
    std::printf("median start centre: %.1f ms\n", startCentre);
    std::printf("median bare window:  %.1f ms\n", bare);
    std::printf("ratio start centre / bare window: %.2f\n", startCentre / bare);
    return 0;
}
