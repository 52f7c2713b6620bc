// glReadPixels's last step: WebGL 1 reads RGBA bytes, rows from the bottom; the program asks for
// GL_RGB or GL_RGBA in rows padded to its GL_PACK_ALIGNMENT.
#pragma once

#include <cstdint>
#include <vector>

namespace webgl11 {

// The bytes a row of `width` pixels of `channels` (3 or 4) takes at `alignment` (1, 2, 4 or 8).
std::size_t PackedRowBytes(int width, int channels, int alignment);

// `rgba` (width x height x 4 bytes) written to `out` as `channels` bytes a pixel in rows of
// PackedRowBytes; the padding bytes are left as they are.
void PackPixels(const std::vector<std::uint8_t>& rgba, int width, int height, int channels,
                int alignment, std::uint8_t* out);

}  // namespace webgl11
