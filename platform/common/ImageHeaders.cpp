#include "platform/common/ImageHeaders.h"

#include <cstring>

namespace platform {
namespace {

unsigned BigEndian16(const unsigned char* p) {
    return unsigned(p[0]) << 8 | p[1];
}
unsigned long BigEndian32(const unsigned char* p) {
    return (unsigned long)BigEndian16(p) << 16 | BigEndian16(p + 2);
}

bool PngSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
             std::string& why) {
    if (length < 24 || std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        why = "no PNG header";
        return false;
    }
    const unsigned long w = BigEndian32(bytes + 16), h = BigEndian32(bytes + 20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFFul || h > 0x7FFFFFFFul) {
        why = "a PNG header of no size";
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool GifSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
             std::string& why) {
    if (length < 10) {
        why = "no GIF header";
        return false;
    }
    width = bytes[6] | bytes[7] << 8;
    height = bytes[8] | bytes[9] << 8;
    return true;
}

// Walks the markers up to the frame header (SOF0 to SOF15, not DHT, JPG or DAC).
bool JpegSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
              std::string& why) {
    std::size_t at = 2;
    while (at + 4 <= length) {
        if (bytes[at] != 0xFF) {
            break;
        }
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            break;
        }
        const std::size_t segment = BigEndian16(bytes + at + 2);
        if (segment < 2 || segment > length - at - 2) {
            break;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (segment < 7) {
                break;
            }
            height = static_cast<int>(BigEndian16(bytes + at + 5));
            width = static_cast<int>(BigEndian16(bytes + at + 7));
            return true;
        }
        at += 2 + segment;
    }
    why = "no JPEG frame header";
    return false;
}

}  // namespace

bool ReadHeaderSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                    int& height, std::string& why) {
    switch (codec) {
        case ImageCodec::kPng:
            return PngSize(bytes, length, width, height, why);
        case ImageCodec::kJpeg:
            return JpegSize(bytes, length, width, height, why);
        case ImageCodec::kGif:
            return GifSize(bytes, length, width, height, why);
    }
    why = "an unknown codec";
    return false;
}

}  // namespace platform
