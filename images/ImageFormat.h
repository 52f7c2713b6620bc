// Which format a texture file is in, told by its first bytes, not by its name: 3DS files name
// images by 8.3 names whose extension is often wrong. TGA has no signature: a file that is no
// other format is taken for TGA when its name ends in .tga or it ends with TGA 2.0's footer.
#pragma once

#include <cstddef>
#include <string>

enum class ImageFormat { kUnknown, kPng, kJpeg, kGif, kBmp, kTga };

ImageFormat SniffImageFormat(const unsigned char* bytes, std::size_t length,
                             const std::string& fileName);

// "PNG", "JPEG", "GIF", "BMP", "TGA", or "unknown".
const char* ImageFormatName(ImageFormat format);
