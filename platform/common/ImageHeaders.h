// The size of a PNG, JPEG or GIF image from its header alone, for a backend whose decoders
// cannot tell it without decoding (the browser's). Untrusted bytes: every field is checked
// against what is there.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"

namespace platform {

// The width and height of the image (a GIF's logical screen); false, and why, without them.
bool ReadHeaderSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                    int& height, std::string& why);

}  // namespace platform
