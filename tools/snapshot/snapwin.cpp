// snapwin <window title> <out.png> [timeout-ms]
// Waits for a visible top-level window with exactly that caption, waits until it has painted,
// and saves its client area as a PNG file. Exit status: 0 saved, 1 timed out, 2 any other failure.

#include "png_writer.h"
#include "pointer.h"
#include "window_capture.h"
#include "window_wait.h"

#include "text/utf.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr unsigned long kDefaultTimeoutMs = 10000;
constexpr unsigned long kMaxTimeoutMs = 3600000;

bool parseTimeout(const char* text, unsigned long& value) {
    char* end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-' || parsed > kMaxTimeoutMs) {
        return false;
    }
    value = parsed;
    return true;
}

// The arguments in UTF-8.
int run(int argc, char** argv) {
    // `snapwin --park-pointer` only moves the pointer to the screen's corner, so that a window
    // opened next is not hovered by a pointer that happens to lie over it.
    if (argc == 2 && std::string_view(argv[1]) == "--park-pointer") {
        return snapshot::parkPointer() ? 0 : 1;
    }
    unsigned long timeoutMs = kDefaultTimeoutMs;
    if (argc < 3 || argc > 4 || (argc == 4 && !parseTimeout(argv[3], timeoutMs))) {
        std::fprintf(stderr,
                     "usage: snapwin <window title> <out.png> [timeout-ms (<= %lu)]\n"
                     "       snapwin --park-pointer\n",
                     kMaxTimeoutMs);
        return 2;
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;

    snapshot::WindowQuery query;
    query.title = argv[1];
    HWND window = snapshot::waitForTopLevelWindow(query, deadline);
    if (!window) {
        std::fprintf(stderr, "snapwin: no visible window \"%s\" within %lu ms\n", argv[1],
                     timeoutMs);
        return 1;
    }
    const auto image = snapshot::captureSettledClientArea(window, deadline);
    if (!image) {
        std::fprintf(stderr,
                     "snapwin: window \"%s\" could not be captured painted and settled within "
                     "%lu ms\n",
                     argv[1], timeoutMs);
        return 1;
    }
    if (!snapshot::writePngFile(argv[2], *image)) {
        std::fprintf(stderr, "snapwin: could not write %s\n", argv[2]);
        return 2;
    }
    return 0;
}

} // namespace

// The arguments as the system holds them, in UTF-16, so that any title or path arrives whole.
int wmain(int argc, wchar_t** argv) {
    return sc::text::runWithUtf8Arguments(argc, argv, run);
}
