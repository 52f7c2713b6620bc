// A decoded texture image, ready for GL.
#pragma once

#include <vector>

// Red, green, blue, alpha bytes per pixel, the bottom row first (GL's order: v = 0 is the
// image's bottom edge, as in 3DS mapping coordinates).
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};
