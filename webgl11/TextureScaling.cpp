#include "webgl11/TextureScaling.h"

#include <algorithm>

namespace webgl11 {

int PowerOfTwoAtMost(int size, int limit) {
    int power = 1;
    while (power <= size / 2 && power * 2 <= limit) {
        power *= 2;
    }
    return power;
}

std::vector<std::uint8_t> ScaleRgba(const std::uint8_t* rgba, int width, int height, int newWidth,
                                    int newHeight) {
    std::vector<std::uint8_t> scaled(static_cast<std::size_t>(newWidth) *
                                     static_cast<std::size_t>(newHeight) * 4);
    // The source span [from, to) that a new pixel covers along one axis.
    const auto span = [](int index, int size, int newSize) {
        const long long from = static_cast<long long>(index) * size / newSize;
        const long long to = static_cast<long long>(index + 1) * size / newSize;
        return std::pair<int, int>{static_cast<int>(from),
                                   static_cast<int>(std::max(to, from + 1))};
    };
    std::size_t out = 0;
    for (int y = 0; y < newHeight; ++y) {
        const auto [y0, y1] = span(y, height, newHeight);
        for (int x = 0; x < newWidth; ++x) {
            const auto [x0, x1] = span(x, width, newWidth);
            unsigned sums[4] = {0, 0, 0, 0};
            for (int sy = y0; sy < y1; ++sy) {
                const std::uint8_t* row =
                    rgba + (static_cast<std::size_t>(sy) * static_cast<std::size_t>(width)) * 4;
                for (int sx = x0; sx < x1; ++sx) {
                    for (unsigned c = 0; c < 4; ++c) {
                        sums[c] += row[static_cast<std::size_t>(sx) * 4 + c];
                    }
                }
            }
            const unsigned covered = static_cast<unsigned>((y1 - y0) * (x1 - x0));
            for (unsigned c = 0; c < 4; ++c) {
                scaled[out++] = static_cast<std::uint8_t>((sums[c] + covered / 2) / covered);
            }
        }
    }
    return scaled;
}

}  // namespace webgl11
