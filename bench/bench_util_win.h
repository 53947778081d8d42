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

// Medians of two works timed in turns, `runs` times each, so that the
// machine's busy spells fall on both alike; `prepare` runs untimed before
// each timing with the number of the turn.
struct Pair {
    double first, second;
};
inline Pair MediansInTurns(int runs, const std::function<void(int turn)>& prepare,
                           const std::function<void()>& first,
                           const std::function<void()>& second) {
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        prepare(2 * i);
        a.push_back(MillisecondsOf(first));
        prepare(2 * i + 1);
        b.push_back(MillisecondsOf(second));
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

inline void Report(const char* name, double ours, double anchor) {
    std::printf("%s: ours=%.2f ms anchor=%.2f ms ratio=%.3f\n", name, ours, anchor,
                anchor > 0 ? ours / anchor : 0.0);
    std::fflush(stdout);
}

}  // namespace quillet::bench
