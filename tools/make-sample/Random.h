// A small deterministic generator (xorshift32). The sample files must come out byte for byte the
// same on every run, which <random>'s distributions do not promise across standard libraries.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [low, high).
    float Range(float low, float high) {
        return low + (high - low) * static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f);
    }

    // Uniform in [-1, 1), for noise.
    double Signed() { return static_cast<double>(Next()) / 2147483648.0 - 1.0; }

    // Uniform in [0, count); count must be positive.
    int Below(int count) { return static_cast<int>(Next() % static_cast<std::uint32_t>(count)); }

    bool Chance(float probability) { return Range(0.0f, 1.0f) < probability; }

private:
    std::uint32_t state_;
};
