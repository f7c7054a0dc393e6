// startup-trace <marks file>: the start centre as StartCentre.exe starts it, with a hook on the
// start-up marks that records the performance counter at each one. When the program ends, the
// marks are written to the file, one "<counter> <phase>" line each, after a first line with the
// counter's frequency. startup-bench --phases runs it beside a copy of the suite's lame.dll.

#include "Main/main_form.h"
#include "app/start_centre.h"
#include "toolkit/startup_marks.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Mark {
    LONGLONG counter;
    const char* phase;
};

constexpr int kMaxMarks = 64;
Mark marks[kMaxMarks];
int markCount = 0;

void record(const char* phase) {
    if (markCount < kMaxMarks) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        marks[markCount++] = Mark{now.QuadPart, phase};
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    record("process and libraries");
    tk::startupMarkHook = record;
    const int result = sc::runStartCentre(sc::makeMainForm);
    if (__argc < 2) {
        return result;
    }
    if (std::FILE* out = _wfopen(__wargv[1], L"w")) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        std::fprintf(out, "%lld\n", static_cast<long long>(frequency.QuadPart));
        for (int i = 0; i < markCount; ++i) {
            std::fprintf(out, "%lld %s\n", static_cast<long long>(marks[i].counter),
                         marks[i].phase);
        }
        std::fclose(out);
    }
    return result;
}
