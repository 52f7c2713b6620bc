// Writes image files of every kind and variant the texture decoders read, from a picture whose
// pixels the writer knows: BMP and TGA in all their kinds (also run-length compressed), PNG (any
// colour type, 16-bit, interlaced; stored, not compressed), GIF (a frame on a screen, interlaced,
// a transparent colour) and JPEG (stb_image_write). The image tests, the texture fuzzer's seed
// corpus (fuzz/MakeImageSeeds.cpp) and the Windows tests under Wine write their files with it:
// the cross build has no libpng or giflib, so PNG and GIF are written here. OneColourImages.h,
// beside it, writes the decompression bombs of the budget tests and the texture benchmarks (Linux:
// libpng and libjpeg). It calls nothing of the program, and nothing of the program includes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using ImageBytes = std::vector<unsigned char>;

// Red, green, blue, alpha bytes per pixel, the top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    unsigned char* At(int x, int y) { return &rgba[4 * (std::size_t(y) * width + x)]; }
    const unsigned char* At(int x, int y) const { return &rgba[4 * (std::size_t(y) * width + x)]; }
};

// A picture of `colours` distinct colours (at most 256) in a pattern that changes along both
// axes. Every channel value is one a 5-bit channel keeps exactly; with `alpha`, alpha is 0 or
// 255 by pixel, else 255.
Picture PatternPicture(int width, int height, int colours, bool alpha);
// The picture's pixels as the decoders keep them: the bottom row first.
std::vector<unsigned char> BottomRowFirst(const Picture& picture);

// --- BMP ---
enum class BmpKind {
    kIndexed1,
    kIndexed4,
    kIndexed8,
    kRle4,
    kRle8,
    kRgb555,       // 16 bits, no masks
    kRgb555Masks,  // 16 bits, the same with colour masks
    kRgb24,
    kRgbx32,  // 32 bits, the fourth byte unused
    kRgba32,  // 32 bits, colour and alpha masks (a 108-byte header)
    kCore24,  // the 12-byte OS/2 1.x header
};
struct BmpOptions {
    BmpKind kind = BmpKind::kRgb24;
    bool topDown = false;
};
ImageBytes EncodeBmp(const Picture& picture, const BmpOptions& options);
// Where the pixel data starts in a BMP file.
std::size_t BmpPixelOffset(const ImageBytes& bmp);

// --- TGA ---
enum class TgaKind { kMapped8, kGrey8, kRgb15, kRgb16, kRgb24, kRgba32 };
struct TgaOptions {
    TgaKind kind = TgaKind::kRgb24;
    bool compressed = false;
    bool topDown = false;
    bool rightToLeft = false;
    int mapFirst = 0;  // the colour map's first index (colour-mapped)
};
ImageBytes EncodeTga(const Picture& picture, const TgaOptions& options);

// --- PNG ---
struct PngOptions {
    int colourType = 6;  // 0 grey, 2 RGB, 3 palette (tRNS for alpha), 4 grey and alpha, 6 RGBA
    int bitDepth = 8;    // 8 or 16 (not for palettes)
    bool interlaced = false;
};
ImageBytes EncodePng(const Picture& picture, const PngOptions& options);

// --- GIF ---
struct GifOptions {
    int screenWidth = 0;  // 0: the picture's
    int screenHeight = 0;
    int left = 0;
    int top = 0;
    bool interlaced = false;
    bool localColourMap = false;
    // Pixels of alpha 0 get a colour of their own that the file names transparent.
    bool transparency = false;
};
// A GIF whose first image is `picture` (at most 255 colours) at (left, top) on the screen.
ImageBytes EncodeGif(const Picture& picture, const GifOptions& options);
// The picture as a GIF decoder puts it on the screen: transparent black around it.
Picture OnGifScreen(const Picture& picture, const GifOptions& options);

// --- JPEG ---
ImageBytes EncodeJpeg(const Picture& picture, int quality);

// Writes bytes to a file; false when it cannot.
bool WriteImageFile(const std::string& path, const ImageBytes& bytes);
