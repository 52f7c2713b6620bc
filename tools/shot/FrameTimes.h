// The time each frame took, for --bench.
#pragma once

#include <vector>

class FrameTimes {
public:
    void Add(double milliseconds) { times_.push_back(milliseconds); }
    int Count() const { return static_cast<int>(times_.size()); }
    // The middle time, or the mean of the two middle ones; 0 without a frame.
    double MedianMilliseconds() const;

private:
    std::vector<double> times_;
};
