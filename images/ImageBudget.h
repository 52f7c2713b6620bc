// What a model's texture images may cost, decided from each image's header before a pixel of
// it is decoded: an image too large for any texture is refused, every other one is reduced by
// a power of two to the side that will be drawn, and the images of one model together stay
// within a total. A refusal says why in one phrase; the material's colour is drawn instead.
#pragma once

#include <cstdint>
#include <string>

#include "platform/common/ImageReduction.h"

struct TextureLimits {
    // Per image, as its header gives it: 4096x4096, or as many pixels in another shape.
    std::uint64_t maxImagePixels = std::uint64_t{4096} * 4096;
    int maxImageSide = 16384;
    // The longest side drawn: larger images are reduced until they fit. The drawing lowers it
    // to GL_MAX_TEXTURE_SIZE, and a picture of known size to what the picture can show.
    int wantedSide = 4096;
    // Per model: the texels of the images as uploaded (after reduction), four of 4096x4096...
    std::uint64_t maxModelTexels = std::uint64_t{4} * 4096 * 4096;
    // ... and the pixels decoded to make them, which bounds the time decoding takes.
    std::uint64_t maxModelSourcePixels = std::uint64_t{160} * 1024 * 1024;
};

// The largest side a texture needs for a picture of this size: the smallest power of two at
// least as long as its longest side (a texture seen whole never covers more pixels).
int TextureSideForPicture(int width, int height);

// The smallest power of two by which an image must be reduced (each side to the ceiling of
// its quotient) for both sides to be at most a wanted side.
using platform::ReducedSide;
using platform::ReductionFactor;

// An image let in: its size as decoded and as it will be drawn.
struct AdmittedImage {
    int width = 0;
    int height = 0;
    int factor = 1;
    int reducedWidth = 0;
    int reducedHeight = 0;
};

// One model's budget, in the order its images are met.
class ImageBudget {
public:
    explicit ImageBudget(const TextureLimits& limits = {});

    // Lets the image in and counts it, or says why not in `why`.
    bool Admit(int width, int height, AdmittedImage& admitted, std::string& why);
    // Gives back the texels of an admitted image that was not drawn after all (its decoding
    // failed); the time spent decoding it stays spent.
    void Return(const AdmittedImage& admitted);

    const TextureLimits& Limits() const { return limits_; }

private:
    TextureLimits limits_;
    std::uint64_t texels_ = 0;
    std::uint64_t sourcePixels_ = 0;
};
