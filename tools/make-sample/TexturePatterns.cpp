#include "tools/make-sample/TexturePatterns.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kSize = 128;  // every image is square

struct Rgb {
    float red, green, blue;
};

Rgb Scaled(Rgb colour, float factor) {
    return {colour.red * factor, colour.green * factor, colour.blue * factor};
}

// Integer hashing rather than a generator: a pixel's noise does not depend on painting order.
float Noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x85EBCA6Bu;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

// Noise from a lattice of cellsX by cellsY points, interpolated and wrapped at the edges.
float SmoothNoise(int x, int y, int cellsX, int cellsY, std::uint32_t seed) {
    const float fx = static_cast<float>(x) * cellsX / kSize;
    const float fy = static_cast<float>(y) * cellsY / kSize;
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float tx = fx - x0, ty = fy - y0;
    const auto at = [&](int i, int j) { return Noise(i % cellsX, j % cellsY, seed); };
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
    return top + (bottom - top) * ty;
}

// Rows of `rowHeight` pixels of blocks `blockWidth` wide, every other row shifted by half a
// block: the layout of bricks, roof tiles and slabs. Gives the block's number and where in it
// the pixel lies.
struct Block {
    int index, x, y;
};
Block BlockAt(int x, int y, int blockWidth, int rowHeight, bool staggered) {
    const int row = y / rowHeight;
    const int shifted = x + (staggered && row % 2 == 1 ? blockWidth / 2 : 0);
    const int column = (shifted / blockWidth) % (kSize / blockWidth);
    return {row * 64 + column, shifted % blockWidth, y % rowHeight};
}

Rgb Brick(int x, int y) {
    const Block brick = BlockAt(x, y, 32, 16, true);
    if (brick.x < 2 || brick.y < 2) {
        return Scaled({200, 195, 185}, 0.95f + 0.05f * Noise(x, y, 1));
    }
    return Scaled({178, 82, 58}, 0.8f + 0.3f * Noise(brick.index, 0, 2) + 0.05f * Noise(x, y, 3));
}

Rgb RoofTile(int x, int y) {
    const Block tile = BlockAt(x, y, 16, 16, true);
    // Each row of tiles overlaps the next: darker toward its lower edge, a dark seam between.
    const float overlap = 1.0f - 0.4f * static_cast<float>(tile.y) / 16.0f;
    const float seam = tile.x == 0 ? 0.55f : 1.0f;
    return Scaled(
        {165, 60, 40},
        overlap * seam * (0.85f + 0.2f * Noise(tile.index, 0, 4) + 0.04f * Noise(x, y, 5)));
}

Rgb Grass(int x, int y) {
    const float patches = SmoothNoise(x, y, 8, 8, 6);
    const float blades = Noise(x, y / 3, 7);  // short upright streaks
    return Scaled({84, 140, 64}, 0.75f + 0.35f * patches + 0.08f * blades);
}

Rgb Asphalt(int x, int y) {
    const float speck = Noise(x, y, 8) > 0.99f ? 1.25f : 1.0f;
    return Scaled({70, 72, 80},
                  speck * (0.8f + 0.15f * SmoothNoise(x, y, 4, 4, 9) + 0.06f * Noise(x, y, 10)));
}

Rgb Pavement(int x, int y) {
    const Block slab = BlockAt(x, y, 32, 32, false);
    if (slab.x < 2 || slab.y < 2) {
        return Scaled({160, 154, 142}, 0.6f);
    }
    return Scaled({160, 154, 142},
                  0.88f + 0.15f * Noise(slab.index, 0, 11) + 0.04f * Noise(x, y, 12));
}

Rgb Concrete(int x, int y) {
    const Block panel = BlockAt(x, y, 64, 64, false);
    const float joint = panel.x < 2 || panel.y < 2 ? 0.7f : 1.0f;
    return Scaled({150, 152, 160},
                  joint * (0.8f + 0.25f * SmoothNoise(x, y, 16, 16, 13) + 0.04f * Noise(x, y, 14)));
}

// Two by two windows: steel frames round panes that reflect a lighter sky toward their tops.
Rgb Windows(int x, int y) {
    const Block pane = BlockAt(x, y, 64, 64, false);
    if (pane.x < 6 || pane.y < 6) {
        return {60, 64, 72};
    }
    const float sky = 1.25f - 0.5f * static_cast<float>(pane.y + pane.x / 2) / 96.0f;
    return Scaled({96, 146, 204}, sky + 0.02f * Noise(x, y, 15));
}

Rgb Wood(int x, int y) {
    const Block board = BlockAt(x, y, kSize, 32, false);
    if (board.y < 2) {
        return Scaled({140, 96, 56}, 0.5f);
    }
    // Grain runs along the board: noise stretched along x.
    const float grain = SmoothNoise(x, y, 2, 64, 16 + board.index);
    return Scaled({140, 96, 56}, 0.8f + 0.35f * grain + 0.05f * Noise(x, y, 17));
}

Rgb Bark(int x, int y) {
    // Furrows run up the trunk: noise stretched along y.
    const float furrow = SmoothNoise(x, y, 32, 2, 18);
    return Scaled({104, 70, 40}, 0.55f + 0.6f * furrow + 0.05f * Noise(x, y, 19));
}

// Red and cream stripes between yellow hems.
Rgb Banner(int x, int y) {
    if (y < 12 || y >= kSize - 12) {
        return {230, 190, 50};
    }
    return (x / 32) % 2 == 0 ? Rgb{200, 40, 40} : Rgb{240, 232, 210};
}

Rgb Paint(Pattern pattern, int x, int y) {
    switch (pattern) {
        case Pattern::kBrick:
            return Brick(x, y);
        case Pattern::kRoofTile:
            return RoofTile(x, y);
        case Pattern::kGrass:
            return Grass(x, y);
        case Pattern::kAsphalt:
            return Asphalt(x, y);
        case Pattern::kPavement:
            return Pavement(x, y);
        case Pattern::kConcrete:
            return Concrete(x, y);
        case Pattern::kWindows:
            return Windows(x, y);
        case Pattern::kWood:
            return Wood(x, y);
        case Pattern::kBark:
            return Bark(x, y);
        case Pattern::kBanner:
            return Banner(x, y);
    }
    return {0, 0, 0};
}

unsigned char Byte(float value) {
    return static_cast<unsigned char>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

}  // namespace

TextureImage PaintPattern(Pattern pattern) {
    TextureImage image{kSize, kSize, {}};
    image.rgb.reserve(3 * kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Rgb colour = Paint(pattern, x, y);
            image.rgb.insert(image.rgb.end(),
                             {Byte(colour.red), Byte(colour.green), Byte(colour.blue)});
        }
    }
    return image;
}
