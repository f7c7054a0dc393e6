#pragma once
// What a soak measured and whether it meets its goals: the live handle counts back to their
// warm-up values exactly, private bytes within 256 KiB of warm-up, and the last hundred cycles
// no slower than the first hundred by more than 10 %.

#include <cstdint>
#include <string>
#include <vector>

namespace soak {

struct Snapshot {
    long gdiObjects = 0;
    long icons = 0;
    long imageLists = 0;
    long menus = 0;
    long windows = 0;       // counted where they are made
    long threadWindows = 0; // found on the user-interface thread, as a cross-check
    std::uint64_t privateBytes = 0;

    bool sameHandles(const Snapshot& other) const {
        return gdiObjects == other.gdiObjects && icons == other.icons &&
               imageLists == other.imageLists && menus == other.menus && windows == other.windows &&
               threadWindows == other.threadWindows;
    }
};

inline constexpr std::int64_t kPrivateBytesSlack = 256 * 1024;
inline constexpr double kSlowdownLimit = 1.10;
// The memory and speed goals are judged from this many cycles on; shorter runs (CI's) judge
// the handle counts alone.
inline constexpr int kCyclesForAllGoals = 200;

struct Verdict {
    bool handlesBack = false;
    bool memoryFlat = true;
    bool speedFlat = true;
    bool judgedMemoryAndSpeed = false;
    double firstMs = 0; // mean time per cycle of the first hundred (or first tenth) cycles
    double lastMs = 0;  // the same for the last ones
    int window = 0;     // how many cycles each mean covers
    bool ok() const { return handlesBack && memoryFlat && speedFlat; }
};

Verdict judge(const Snapshot& warm, const Snapshot& end, const std::vector<double>& cycleMs);

std::string describe(const char* label, const Snapshot& s);
std::string describe(const Snapshot& warm, const Snapshot& end, const Verdict& v);

} // namespace soak
