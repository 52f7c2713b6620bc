// The textured sample's images as PNG files, in memory.
#pragma once

#include <vector>

#include "tools/make-sample/TexturePatterns.h"

// The bytes of a PNG file of the image; empty if it cannot be encoded.
std::vector<unsigned char> EncodePng(const TextureImage& image);
