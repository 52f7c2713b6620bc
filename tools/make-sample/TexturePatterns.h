// The textured sample's images, painted pixel by pixel: the same on every run, and each one tiles
// without a seam across its edges.
#pragma once

#include <vector>

enum class Pattern {
    kBrick,
    kRoofTile,
    kGrass,
    kAsphalt,
    kPavement,
    kConcrete,
    kWindows,
    kWood,
    kBark,
    kBanner,
};

struct TextureImage {
    int width, height;
    std::vector<unsigned char> rgb;  // rows top to bottom, three bytes a pixel
};

TextureImage PaintPattern(Pattern pattern);
