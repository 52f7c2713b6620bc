#include "tools/shot/FrameTimes.h"

#include <algorithm>

double FrameTimes::MedianMilliseconds() const {
    if (times_.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = times_;
    const std::size_t middle = sorted.size() / 2;
    std::nth_element(sorted.begin(), sorted.begin() + middle, sorted.end());
    const double upper = sorted[middle];
    if (sorted.size() % 2 == 1) {
        return upper;
    }
    const double lower = *std::max_element(sorted.begin(), sorted.begin() + middle);
    return (lower + upper) / 2.0;
}
