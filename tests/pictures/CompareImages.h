// Compares a rendered picture with its baseline, allowing for the small differences between
// Mesa versions, drivers and 16- or 24-bit visuals.
//
// A pixel differs when any of its channels is off by more than the tolerance; a picture matches
// when it has the baseline's size and at most a small fraction of its pixels differ. Shading,
// light, fog or camera faults change whole surfaces and so far more pixels than that; the
// fraction leaves room for triangle edges, which rasterisers may cover a pixel apart.
#pragma once

#include "tools/shot/RgbImage.h"

struct PictureDifference {
    bool sameSize = false;
    long long pixelCount = 0;
    long long differingPixels = 0;  // largest channel difference over the tolerance
    int largestDifference = 0;      // over all channels, 0..255

    double DifferingFraction() const {
        return pixelCount > 0 ? static_cast<double>(differingPixels) / pixelCount : 1.0;
    }
};

constexpr int kChannelTolerance = 2;             // of 255
constexpr double kMaxDifferingFraction = 0.005;  // 0.5 % of the pixels

PictureDifference ComparePictures(const RgbImage& actual, const RgbImage& expected,
                                  int tolerance = kChannelTolerance);
bool Matches(const PictureDifference& difference, double maxFraction = kMaxDifferingFraction);
// A picture of where they differ: each channel's difference magnified 16 times, and pixels
// beyond the tolerance in magenta. Empty when the sizes differ.
RgbImage DifferencePicture(const RgbImage& actual, const RgbImage& expected,
                           int tolerance = kChannelTolerance);
