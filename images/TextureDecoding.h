// One texture image from its file's bytes to the pixels drawn, within a model's budget: the
// format told by its first bytes, the size read from its header, the budget's verdict, then
// the decoding, reduced as it goes to the side that will be drawn. The walk-through and the
// texture fuzzer call this same function.
#pragma once

#include <cstddef>
#include <string>

#include "images/ImageBudget.h"
#include "images/TextureImage.h"

// Decodes the image in `bytes` (read from a file named `fileName`) into `image`; false, and
// why in one phrase ("is not a JPEG, PNG, GIF, BMP or TGA image"), when it is refused or cannot
// be decoded.
bool DecodeTexture(const unsigned char* bytes, std::size_t length, const std::string& fileName,
                   ImageBudget& budget, TextureImage& image, std::string& why);
