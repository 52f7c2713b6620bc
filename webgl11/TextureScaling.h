// gluBuild2DMipmaps's first step: an image of any size scaled to powers of two, as OpenGL 1.1
// requires of a texture.
#pragma once

#include <cstdint>
#include <vector>

namespace webgl11 {

// Every WebGL implementation takes textures this large (GL_MAX_TEXTURE_SIZE).
constexpr int kLargestTexture = 2048;

// The largest power of two not above `size` (at least 1), and not above `limit`.
int PowerOfTwoAtMost(int size, int limit);

// `rgba` (width x height, 4 bytes a pixel) scaled to newWidth x newHeight, each new pixel the
// average of the pixels it covers. Both sizes must be positive and `rgba` must hold the image.
std::vector<std::uint8_t> ScaleRgba(const std::uint8_t* rgba, int width, int height, int newWidth,
                                    int newHeight);

}  // namespace webgl11
