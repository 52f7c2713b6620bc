// An 8-bit RGB picture, rows from the top, three bytes a pixel, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::size_t ByteCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
    bool IsWhole() const { return width > 0 && height > 0 && pixels.size() == ByteCount(); }
};
