// Repeats a piece of work and takes the median of its run times.
#pragma once

#include <functional>

namespace bench {

struct TimingPlan {
    unsigned minRuns = 5;
    double minSeconds = 0.5; // keep repeating until the runs together took this long
    unsigned maxRuns = 2000;
};

struct TimingResult {
    double medianMs = 0;
    unsigned runs = 0;
};

TimingResult timeMedian(const std::function<void()>& work, const TimingPlan& plan);

} // namespace bench
