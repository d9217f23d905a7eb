// The figures of a benchmark's repeated runs: min, median and max, and the ratio of two medians. The runs of a
// figure and of its peer are interleaved by the caller, so load from other programs on a shared machine weighs
// on both alike; the median rather than the best run is what is compared.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};

inline Spread SpreadOf(std::vector<double> runs)
{
    Spread s;
    if (runs.empty())
        return s;
    std::sort(runs.begin(), runs.end());
    const size_t n = runs.size();
    s.min = runs.front();
    s.max = runs.back();
    s.median = n % 2 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
    return s;
}

inline double RatioOfMedians(const std::vector<double>& ours, const std::vector<double>& floor)
{
    const double f = SpreadOf(floor).median;
    return f != 0 ? SpreadOf(ours).median / f : 0;
}

// "label   min  median  max  unit" in one line, numbers with the given format (e.g. "%9.2f").
inline void PrintSpread(const char* label, const std::vector<double>& runs, const char* unit, int width = 44)
{
    const Spread s = SpreadOf(runs);
    std::printf("%-*s min %10.2f  median %10.2f  max %10.2f  %s  (%zu runs)\n", width, label, s.min, s.median,
                s.max, unit, runs.size());
}

}  // namespace bench
