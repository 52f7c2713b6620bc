#include "webgl11/PixelPacking.h"

namespace webgl11 {

std::size_t PackedRowBytes(int width, int channels, int alignment) {
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    const std::size_t align = alignment > 0 ? static_cast<std::size_t>(alignment) : 1;
    return (bytes + align - 1) / align * align;
}

void PackPixels(const std::vector<std::uint8_t>& rgba, int width, int height, int channels,
                int alignment, std::uint8_t* out) {
    const std::size_t rowBytes = PackedRowBytes(width, channels, alignment);
    const std::size_t pixels = static_cast<std::size_t>(width);
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        const std::uint8_t* from = rgba.data() + row * pixels * 4;
        std::uint8_t* to = out + row * rowBytes;
        for (std::size_t x = 0; x < pixels; ++x) {
            for (std::size_t c = 0; c < static_cast<std::size_t>(channels); ++c) {
                to[x * static_cast<std::size_t>(channels) + c] = from[x * 4 + c];
            }
        }
    }
}

}  // namespace webgl11
