#pragma once
// Timing helpers of the window benchmarks: a duration in milliseconds, and the median of runs.
#include <algorithm>
#include <chrono>
#include <vector>

namespace saldora::bench {

using Clock = std::chrono::steady_clock;

inline double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace saldora::bench
