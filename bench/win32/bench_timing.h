// Timing for the benchmarks that run under Wine.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

namespace velk::bench {

// Seconds on the performance counter.
inline double Now() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace velk::bench
