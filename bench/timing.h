// Times contenders in interleaved rounds and summarises per-round ratios.
#pragma once

#include <functional>
#include <vector>

namespace bench {

// Times are the processor time of the benchmark thread. Every round runs each contender once, one
// after the other, starting with a different one in each round. A slow spell of a shared machine
// then falls on all of them alike, and the ratio of two contenders within one round holds still
// where their separate times do not.
struct RoundsPlan {
    // The floor: two runs agree within 0.05 on every ratio. Short rounds (the suite's small
    // files) are noisier, so rounds are also added until they took minSeconds together.
    unsigned minRounds = 61;
    double minSeconds = 2;
    unsigned maxRounds = 5000;
};

// times[round][contender] in milliseconds; one untimed round warms the caches first.
std::vector<std::vector<double>> timeRounds(const std::vector<std::function<void()>>& contenders,
                                            const RoundsPlan& plan);

// Median and quartiles (linear interpolation between the ranks).
struct Spread {
    double median = 0, lower = 0, upper = 0;
    double iqr() const { return upper - lower; }
};
Spread spreadOf(std::vector<double> values);

// The spread of times[r][numerator] / times[r][denominator] over the rounds.
Spread ratioSpread(const std::vector<std::vector<double>>& times, size_t numerator,
                   size_t denominator);

} // namespace bench
