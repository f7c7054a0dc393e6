// startup-bench <suite folder> [rounds]
// Measures the start centre (StartCentre.exe of the suite folder) against two yardsticks beside
// this program: barewin.exe, a bare Win32 window, and themedbarewin.exe, a window with the start
// centre's manifest, common controls and visual styles and one themed push button. After one
// untimed warm-up start of each, every round starts each of the three once, in an order that
// rotates from round to round, and times from just before CreateProcess until the main window
// has completed its first paint: visible, the process input-idle, no update region on the window
// or its children. Each window is then closed with WM_CLOSE. Prints every round, the median
// times, and the median and interquartile range of the per-round ratios of the start centre to
// each yardstick, which hold still on a busy machine far better than ratios of medians.
// A start that the system refuses (CreateProcess fails, as Wine now and then does under load)
// runs its round once more and says so; a program that started but did not paint, or did not
// end, fails the run at once.

#include "pointer.h"
#include "window_wait.h"

#include "text/utf.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRounds = 21;
constexpr int kMaxRuns = 1000;
constexpr DWORD kPaintTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;

struct Subject {
    std::string label;
    std::string program;
    std::string windowClass;
    std::string arguments;
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

struct Timing {
    double wallMs = 0;
    // Performance counter values just before CreateProcess and at the first complete paint.
    LONGLONG startCounter = 0;
    LONGLONG paintedCounter = 0;
};

// How one start went: timed to its first complete paint, refused by the system before the
// program ran, or failed (no painted window, or no end after WM_CLOSE).
struct Start {
    enum class Outcome { timed, notStarted, failed };
    Outcome outcome = Outcome::failed;
    Timing timing;
    explicit operator bool() const { return outcome == Outcome::timed; }
    const Timing* operator->() const { return &timing; }
    const Timing& operator*() const { return timing; }
};

// One start: the times to the first complete paint, or why there are none.
Start timeOneStart(const Subject& subject) {
    std::string commandLine = "\"" + subject.program + "\"";
    if (!subject.arguments.empty()) {
        commandLine += " " + subject.arguments;
    }
    std::wstring wideCommandLine = sc::text::toUtf16(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(sc::text::toUtf16(subject.program).c_str(), wideCommandLine.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", subject.program.c_str(),
                     GetLastError());
        return Start{Start::Outcome::notStarted, {}};
    }
    const ULONGLONG deadline = GetTickCount64() + kPaintTimeoutMs;
    snapshot::WindowQuery query;
    query.className = subject.windowClass;
    query.processId = process.dwProcessId;
    HWND window = snapshot::waitForTopLevelWindow(query, deadline);
    Start elapsed;
    if (window && snapshot::waitUntilPainted(window, deadline)) {
        LARGE_INTEGER painted;
        QueryPerformanceCounter(&painted);
        elapsed = Start{Start::Outcome::timed,
                        Timing{millisecondsSince(start), start.QuadPart, painted.QuadPart}};
    } else {
        std::fprintf(stderr, "%s: no painted %s window within %lu ms\n", subject.label.c_str(),
                     subject.windowClass.c_str(), kPaintTimeoutMs);
    }

    if (window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not end after WM_CLOSE\n", subject.label.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitTimeoutMs);
        elapsed = Start{};
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

// A start that the system refused is tried once more, and the output says so.
Start timeOneStartRetried(const Subject& subject) {
    Start first = timeOneStart(subject);
    if (first.outcome != Start::Outcome::notStarted) {
        return first;
    }
    std::printf("%s did not start; started once more\n", subject.label.c_str());
    return timeOneStart(subject);
}

// The q-quantile of `values` (0 <= q <= 1), interpolating linearly between neighbours.
double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
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

void printSummary(const char* label, const std::vector<double>& values, const char* unit) {
    std::printf("%-34s median %7.3f%s  IQR %7.3f .. %7.3f\n", label, quantile(values, 0.5), unit,
                quantile(values, 0.25), quantile(values, 0.75));
}

// The phase names in the order the program passes them, each with its times over the rounds.
struct PhaseTimes {
    std::vector<std::string> names;
    std::vector<std::vector<double>> values;

    std::vector<double>& of(const std::string& name) {
        auto at = std::find(names.begin(), names.end(), name);
        if (at != names.end()) {
            return values[static_cast<std::size_t>(at - names.begin())];
        }
        names.push_back(name);
        values.emplace_back();
        return values.back();
    }
};

// Reads the marks file of one traced start and adds each phase's milliseconds of this start
// (0 for a phase known from earlier starts that did not occur); the time from the last mark to
// the first complete paint is the phase "first paint".
bool addPhases(const std::string& file, const Timing& timing, PhaseTimes& phases) {
    std::FILE* in = _wfopen(sc::text::toUtf16(file).c_str(), L"r");
    if (!in) {
        return false;
    }
    long long frequency = 0;
    bool ok = std::fscanf(in, "%lld", &frequency) == 1 && frequency > 0;
    std::vector<std::pair<std::string, double>> spans;
    long long previous = timing.startCounter;
    long long counter = 0;
    char phase[128];
    while (ok && std::fscanf(in, "%lld %127[^\n]", &counter, phase) == 2) {
        if (counter > timing.paintedCounter) {
            break;
        }
        spans.emplace_back(phase, static_cast<double>(counter - previous) * 1000.0 /
                                      static_cast<double>(frequency));
        previous = counter;
    }
    std::fclose(in);
    if (!ok || spans.empty()) {
        return false;
    }
    spans.emplace_back("first paint", static_cast<double>(timing.paintedCounter - previous) *
                                          1000.0 / static_cast<double>(frequency));
    std::vector<double> sums(phases.names.size(), 0.0);
    for (const auto& [name, ms] : spans) {
        phases.of(name);
        sums.resize(phases.names.size(), 0.0);
        const auto at = std::find(phases.names.begin(), phases.names.end(), name);
        sums[static_cast<std::size_t>(at - phases.names.begin())] += ms;
    }
    for (std::size_t i = 0; i < phases.names.size(); ++i) {
        phases.values[i].push_back(sums[i]);
    }
    return true;
}

// startup-bench --phases [rounds]: the breakdown of the start-up time by phase, from the marks
// that startup-trace.exe (the start centre with its marks recorded) writes.
int measurePhases(const std::string& folder, int rounds) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) {
        std::fprintf(stderr, "no folder for temporary files\n");
        return 2;
    }
    const std::string marksFile =
        sc::text::toUtf8(temp) + "startup-marks-" + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::wstring marksPath = sc::text::toUtf16(marksFile);
    const Subject traced{"traced start centre", folder + "startup-trace.exe", "TMainForm",
                         "\"" + marksFile + "\""};
    if (!snapshot::parkPointer()) {
        std::fprintf(stderr, "warning: could not move the pointer off the screen's centre\n");
    }
    if (!timeOneStartRetried(traced)) {
        return 1;
    }
    PhaseTimes phases;
    std::vector<double> totals;
    for (int round = 0; round < rounds; ++round) {
        DeleteFileW(marksPath.c_str());
        const auto timing = timeOneStartRetried(traced);
        if (!timing || !addPhases(marksFile, *timing, phases)) {
            std::fprintf(stderr, "no marks from the traced start centre\n");
            DeleteFileW(marksPath.c_str());
            return 1;
        }
        totals.push_back(timing->wallMs);
    }
    DeleteFileW(marksPath.c_str());
    std::printf("%d traced starts, milliseconds per phase (median, IQR):\n", rounds);
    for (std::size_t i = 0; i < phases.names.size(); ++i) {
        printSummary(("phase " + phases.names[i]).c_str(), phases.values[i], " ms");
    }
    printSummary("phases total (to the first paint)", totals, " ms");
    return 0;
}

// The arguments in UTF-8.
int run(int argc, char** argv) {
    int rounds = kDefaultRounds;
    if (argc < 2 || argc > 3 || (argc == 3 && !parseRuns(argv[2], rounds))) {
        std::fprintf(stderr,
                     "usage: startup-bench <suite folder> [rounds, 1..%d]\n"
                     "       startup-bench --phases [rounds]\n",
                     kMaxRuns);
        return 2;
    }
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        std::fprintf(stderr, "cannot find this program's folder\n");
        return 2;
    }
    const std::string self = sc::text::toUtf8(path);
    if (std::string(argv[1]) == "--phases") {
        return measurePhases(folderOf(self), rounds);
    }
    constexpr int kSubjects = 3;
    const Subject subjects[kSubjects] = {
        {"start centre", withTrailingSlash(argv[1]) + "StartCentre.exe", "TMainForm", ""},
        {"bare window", folderOf(self) + "barewin.exe", "BareWindow", ""},
        {"themed bare window", folderOf(self) + "themedbarewin.exe", "ThemedBareWindow", ""},
    };
    // Keep the pointer off the windows: hovering over a list must not add work to a run.
    if (!snapshot::parkPointer()) {
        std::fprintf(stderr, "warning: could not move the pointer off the screen's centre\n");
    }

    for (const Subject& subject : subjects) {
        if (!timeOneStartRetried(subject)) {
            return 1;
        }
    }
    std::vector<double> times[kSubjects];
    std::vector<double> overBare, overThemed;
    std::printf("%-5s %12s %12s %12s %8s %8s\n", "round", "centre ms", "bare ms", "themed ms",
                "sc/bare", "sc/thm");
    int roundsRunAgain = 0;
    for (int round = 0; round < rounds; ++round) {
        // Each round starts every contender once, the order rotating from round to round, so
        // that a slow spell of the shared machine weighs on all of them alike. A start the
        // system refused runs the whole round once more, so that its ratios stay paired.
        Timing row[kSubjects] = {};
        bool refused = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            refused = false;
            for (int k = 0; k < kSubjects && !refused; ++k) {
                const int s = (round + k) % kSubjects;
                const Start elapsed = timeOneStart(subjects[s]);
                if (elapsed.outcome == Start::Outcome::failed) {
                    return 1;
                }
                refused = elapsed.outcome == Start::Outcome::notStarted;
                if (refused) {
                    std::printf("round %d: %s did not start%s\n", round + 1,
                                subjects[s].label.c_str(),
                                attempt == 0 ? "; the round runs once more" : " again");
                }
                row[s] = elapsed.timing;
            }
            if (!refused) {
                break;
            }
            ++roundsRunAgain;
        }
        if (refused) {
            return 1;
        }
        for (int s = 0; s < kSubjects; ++s) {
            times[s].push_back(row[s].wallMs);
        }
        overBare.push_back(row[0].wallMs / row[1].wallMs);
        overThemed.push_back(row[0].wallMs / row[2].wallMs);
        std::printf("%-5d %12.1f %12.1f %12.1f %8.3f %8.3f\n", round + 1, row[0].wallMs,
                    row[1].wallMs, row[2].wallMs, overBare.back(), overThemed.back());
        std::fflush(stdout);
    }
    std::printf("%d rounds, milliseconds to the first complete paint:\n", rounds);
    for (int s = 0; s < kSubjects; ++s) {
        printSummary(subjects[s].label.c_str(), times[s], " ms");
    }
    if (roundsRunAgain > 0) {
        std::printf("rounds run once more after a refused start: %d\n", roundsRunAgain);
    }
    std::printf("per-round paired ratios:\n");
    printSummary("ratio start centre / bare window", overBare, "   ");
    printSummary("ratio start centre / themed bare", overThemed, "   ");
    return 0;
}

} // namespace

// The arguments as the system holds them, in UTF-16, so that any folder name arrives whole.
int wmain(int argc, wchar_t** argv) {
    return sc::text::runWithUtf8Arguments(argc, argv, run);
}
