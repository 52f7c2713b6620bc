#include "images/ImageBudget.h"

#include <algorithm>

namespace {

// 16777216 as "16,777,216".
std::string Grouped(std::uint64_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

}  // namespace

int TextureSideForPicture(int width, int height) {
    const int longest = std::max({width, height, 1});
    int side = 1;
    while (side < longest && side < (1 << 30)) {
        side *= 2;
    }
    return side;
}

ImageBudget::ImageBudget(const TextureLimits& limits) : limits_(limits) {}

bool ImageBudget::Admit(int width, int height, AdmittedImage& admitted, std::string& why) {
    if (width <= 0 || height <= 0) {
        why = "has no pixels (" + std::to_string(width) + "x" + std::to_string(height) + ")";
        return false;
    }
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    if (width > limits_.maxImageSide || height > limits_.maxImageSide) {
        why = "is " + std::to_string(width) + "x" + std::to_string(height) + " pixels, more than " +
              std::to_string(limits_.maxImageSide) + " on a side";
        return false;
    }
    if (pixels > limits_.maxImagePixels) {
        why = "is " + std::to_string(width) + "x" + std::to_string(height) +
              " pixels, more than the " + Grouped(limits_.maxImagePixels) + " an image may have";
        return false;
    }
    AdmittedImage image;
    image.width = width;
    image.height = height;
    image.factor = ReductionFactor(width, height, limits_.wantedSide);
    image.reducedWidth = ReducedSide(width, image.factor);
    image.reducedHeight = ReducedSide(height, image.factor);
    const std::uint64_t texels =
        std::uint64_t(image.reducedWidth) * std::uint64_t(image.reducedHeight);
    if (texels > limits_.maxModelTexels - texels_) {
        why =
            "would bring the model's textures past " + Grouped(limits_.maxModelTexels) + " texels";
        return false;
    }
    if (pixels > limits_.maxModelSourcePixels - sourcePixels_) {
        why = "would bring the pixels decoded for the model's textures past " +
              Grouped(limits_.maxModelSourcePixels);
        return false;
    }
    texels_ += texels;
    sourcePixels_ += pixels;
    admitted = image;
    return true;
}

void ImageBudget::Return(const AdmittedImage& admitted) {
    texels_ -= std::min(
        texels_, std::uint64_t(admitted.reducedWidth) * std::uint64_t(admitted.reducedHeight));
}
