#include "soak_verdict.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace soak {

namespace {

double meanOf(std::vector<double>::const_iterator from, std::vector<double>::const_iterator to) {
    const auto n = std::distance(from, to);
    return n > 0 ? std::accumulate(from, to, 0.0) / static_cast<double>(n) : 0.0;
}

} // namespace

Verdict judge(const Snapshot& warm, const Snapshot& end, const std::vector<double>& cycleMs) {
    Verdict v;
    v.handlesBack = warm.sameHandles(end);
    const int n = static_cast<int>(cycleMs.size());
    v.window = std::max(1, std::min(100, n / 10));
    if (n > 0) {
        v.firstMs = meanOf(cycleMs.begin(), cycleMs.begin() + std::min(n, v.window));
        v.lastMs = meanOf(cycleMs.end() - std::min(n, v.window), cycleMs.end());
    }
    v.judgedMemoryAndSpeed = n >= kCyclesForAllGoals;
    if (v.judgedMemoryAndSpeed) {
        const auto growth = static_cast<std::int64_t>(end.privateBytes) -
                            static_cast<std::int64_t>(warm.privateBytes);
        v.memoryFlat = growth <= kPrivateBytesSlack;
        v.speedFlat = v.lastMs <= v.firstMs * kSlowdownLimit;
    }
    return v;
}

std::string describe(const char* label, const Snapshot& s) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "%-8s private bytes %llu, GDI objects %ld, icons %ld, image lists %ld, "
                  "menus %ld, windows %ld (on the thread %ld)",
                  label, static_cast<unsigned long long>(s.privateBytes), s.gdiObjects, s.icons,
                  s.imageLists, s.menus, s.windows, s.threadWindows);
    return line;
}

std::string describe(const Snapshot& warm, const Snapshot& end, const Verdict& v) {
    char text[512];
    const long long growth =
        static_cast<long long>(end.privateBytes) - static_cast<long long>(warm.privateBytes);
    std::snprintf(text, sizeof text,
                  "handles: %s\n"
                  "private bytes: %+lld (%s)\n"
                  "time per cycle: first %d %.1f ms, last %d %.1f ms, ratio %.3f (%s)\n",
                  v.handlesBack ? "back to warm-up values" : "NOT back to warm-up values", growth,
                  !v.judgedMemoryAndSpeed ? "not judged, short run"
                  : v.memoryFlat          ? "within 256 KiB"
                                          : "MORE than 256 KiB",
                  v.window, v.firstMs, v.window, v.lastMs,
                  v.firstMs > 0 ? v.lastMs / v.firstMs : 0.0,
                  !v.judgedMemoryAndSpeed ? "not judged, short run"
                  : v.speedFlat           ? "flat"
                                          : "SLOWER by more than 10 %");
    return text;
}

} // namespace soak
