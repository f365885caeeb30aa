#pragma once
// The median the start-up benches report: the middle value, or the mean of the two middle ones.

#include <algorithm>
#include <vector>

inline double BenchMedian(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
