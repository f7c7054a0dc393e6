#include "timing.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

TimingResult timeMedian(const std::function<void()>& work, const TimingPlan& plan) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> runsMs;
    double totalSeconds = 0;
    while (runsMs.size() < plan.maxRuns &&
           (runsMs.size() < plan.minRuns || totalSeconds < plan.minSeconds)) {
        const auto start = Clock::now();
        work();
        const std::chrono::duration<double> took = Clock::now() - start;
        totalSeconds += took.count();
        runsMs.push_back(took.count() * 1000.0);
    }
    TimingResult result;
    result.runs = static_cast<unsigned>(runsMs.size());
    if (runsMs.empty())
        return result;
    const auto middle = runsMs.begin() + static_cast<std::ptrdiff_t>(runsMs.size() / 2);
    std::nth_element(runsMs.begin(), middle, runsMs.end());
    result.medianMs = *middle;
    if (runsMs.size() % 2 == 0)
        result.medianMs = (result.medianMs + *std::max_element(runsMs.begin(), middle)) / 2;
    return result;
}

} // namespace bench
