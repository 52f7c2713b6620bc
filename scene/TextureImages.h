// Decoding a material's texture image into pixels GL can take, without GL.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Larger images are refused: they would cost hundreds of megabytes for one material.
constexpr int kMaxTextureSide = 8192;

// Red, green, blue, alpha bytes per pixel, the bottom row first (GL's order: v = 0 is the
// image's bottom edge, as in 3DS mapping coordinates).
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// Reads and decodes the JPEG, PNG, BMP, TGA or GIF file at `utf8Path`; on failure says why in
// `why` and returns nothing.
std::optional<TextureImage> DecodeTextureFile(const std::string& utf8Path, std::string& why);
