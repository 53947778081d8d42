// Timing helpers shared by the benchmarks: medians of repeated runs and the
// one-line report "NAME: ours=X ms anchor=Y ms ratio=R".
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace quillet::bench {

inline double MillisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Median of `runs` timings; `prepare` runs untimed before each.
inline double Median(int runs, const std::function<void()>& prepare,
                     const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        times.push_back(MillisecondsOf(work));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void Report(const char* name, double ours, double anchor) {
    std::printf("%s: ours=%.2f ms anchor=%.2f ms ratio=%.3f\n", name, ours, anchor,
                anchor > 0 ? ours / anchor : 0.0);
    std::fflush(stdout);
}

}  // namespace quillet::bench
