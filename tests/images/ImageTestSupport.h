// Decoding test images through the walk-through's own path (DecodeTexture), within a budget.
#pragma once

#include <string>

#include "images/ImageBudget.h"
#include "images/TextureDecoding.h"
#include "tools/imagewriter/ImageWriters.h"

struct Decoded {
    bool ok = false;
    TextureImage image;
    std::string why;
};

inline Decoded Decode(const ImageBytes& bytes, const std::string& name, int wantedSide = 4096) {
    TextureLimits limits;
    limits.wantedSide = wantedSide;
    ImageBudget budget(limits);
    Decoded decoded;
    decoded.ok =
        DecodeTexture(bytes.data(), bytes.size(), name, budget, decoded.image, decoded.why);
    return decoded;
}

// A picture of vertical stripes `stripe` pixels wide that shift down the rows: long runs.
inline Picture StripedPicture(int width, int height, int colours, int stripe) {
    Picture picture = PatternPicture(colours, 1, colours, false);
    Picture out{width, height, std::vector<unsigned char>(4 * std::size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = picture.At((x / stripe + y) % colours, 0);
            std::copy(p, p + 4, out.At(x, y));
        }
    }
    return out;
}
