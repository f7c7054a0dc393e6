#include "timing.h"

#include <algorithm>
#include <ctime>

namespace bench {
namespace {

// The processor time of this thread: the spells in which other programs ran on its core do not
// count, so a busy machine slows the contenders' caches but does not add its own work.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace

std::vector<std::vector<double>> timeRounds(const std::vector<std::function<void()>>& contenders,
                                            const RoundsPlan& plan) {
    const size_t n = contenders.size();
    for (const auto& run : contenders)
        run();
    std::vector<std::vector<double>> times;
    double totalSeconds = 0;
    while (times.size() < plan.maxRounds &&
           (times.size() < plan.minRounds || totalSeconds < plan.minSeconds)) {
        std::vector<double> round(n);
        const size_t first = times.size() % (n ? n : 1);
        for (size_t i = 0; i < n; ++i) {
            const size_t c = (first + i) % n;
            const double start = threadSeconds();
            contenders[c]();
            const double took = threadSeconds() - start;
            totalSeconds += took;
            round[c] = took * 1000.0;
        }
        times.push_back(std::move(round));
    }
    return times;
}

Spread spreadOf(std::vector<double> values) {
    Spread s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        const double rank = q * static_cast<double>(values.size() - 1);
        const size_t low = static_cast<size_t>(rank);
        const size_t high = std::min(low + 1, values.size() - 1);
        return values[low] + (values[high] - values[low]) * (rank - static_cast<double>(low));
    };
    s.lower = at(0.25);
    s.median = at(0.5);
    s.upper = at(0.75);
    return s;
}

Spread ratioSpread(const std::vector<std::vector<double>>& times, size_t numerator,
                   size_t denominator) {
    std::vector<double> ratios;
    ratios.reserve(times.size());
    for (const auto& round : times)
        if (round[denominator] > 0)
            ratios.push_back(round[numerator] / round[denominator]);
    return spreadOf(std::move(ratios));
}

} // namespace bench
