#include "tests/pictures/CompareImages.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMagnification = 16;

bool SameSize(const RgbImage& a, const RgbImage& b) {
    return a.IsWhole() && b.IsWhole() && a.width == b.width && a.height == b.height;
}

int LargestChannelDifference(const std::uint8_t* a, const std::uint8_t* b) {
    int largest = 0;
    for (int channel = 0; channel < 3; ++channel) {
        largest = std::max(largest, std::abs(a[channel] - b[channel]));
    }
    return largest;
}

}  // namespace

PictureDifference ComparePictures(const RgbImage& actual, const RgbImage& expected, int tolerance) {
    PictureDifference difference;
    difference.sameSize = SameSize(actual, expected);
    if (!difference.sameSize) {
        return difference;
    }
    difference.pixelCount = static_cast<long long>(actual.width) * actual.height;
    for (std::size_t at = 0; at < actual.pixels.size(); at += 3) {
        const int largest = LargestChannelDifference(&actual.pixels[at], &expected.pixels[at]);
        difference.largestDifference = std::max(difference.largestDifference, largest);
        if (largest > tolerance) {
            ++difference.differingPixels;
        }
    }
    return difference;
}

bool Matches(const PictureDifference& difference, double maxFraction) {
    return difference.sameSize && difference.DifferingFraction() <= maxFraction;
}

RgbImage DifferencePicture(const RgbImage& actual, const RgbImage& expected, int tolerance) {
    RgbImage picture;
    if (!SameSize(actual, expected)) {
        return picture;
    }
    picture.width = actual.width;
    picture.height = actual.height;
    picture.pixels.resize(actual.pixels.size());
    for (std::size_t at = 0; at < actual.pixels.size(); at += 3) {
        const std::uint8_t* a = &actual.pixels[at];
        const std::uint8_t* b = &expected.pixels[at];
        std::uint8_t* out = &picture.pixels[at];
        if (LargestChannelDifference(a, b) > tolerance) {
            out[0] = 255;
            out[1] = 0;
            out[2] = 255;
            continue;
        }
        for (int channel = 0; channel < 3; ++channel) {
            out[channel] = static_cast<std::uint8_t>(
                std::min(255, std::abs(a[channel] - b[channel]) * kMagnification));
        }
    }
    return picture;
}
