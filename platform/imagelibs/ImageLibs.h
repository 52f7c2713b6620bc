// The Linux image decoders behind the seam's image section, one file per library: libpng,
// libjpeg-turbo and giflib, reading from memory. Each refuses what it cannot decode with the
// library's own reason; errors never leave a library by a jump over C++ frames.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"

namespace platform::imagelibs {

// With `sink` null only the header is read, into width and height.
bool DecodePng(const unsigned char* bytes, std::size_t length, int& width, int& height,
               ImageRowSink* sink, std::string& why);
bool DecodeJpeg(const unsigned char* bytes, std::size_t length, int wantedSide, int& width,
                int& height, ImageRowSink* sink, std::string& why);
bool DecodeGif(const unsigned char* bytes, std::size_t length, int& width, int& height,
               ImageRowSink* sink, std::string& why);

}  // namespace platform::imagelibs
