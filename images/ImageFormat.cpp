#include "images/ImageFormat.h"

#include <cstring>

#include "scene/AsciiCase.h"

namespace {

bool StartsWith(const unsigned char* bytes, std::size_t length, const char* magic,
                std::size_t magicLength) {
    return length >= magicLength && std::memcmp(bytes, magic, magicLength) == 0;
}

bool NameEndsInTga(const std::string& name) {
    return name.size() >= 4 && LowerAscii(name.substr(name.size() - 4)) == ".tga";
}

}  // namespace

ImageFormat SniffImageFormat(const unsigned char* bytes, std::size_t length,
                             const std::string& fileName) {
    if (StartsWith(bytes, length, "\x89PNG\r\n\x1a\n", 8)) {
        return ImageFormat::kPng;
    }
    if (StartsWith(bytes, length, "\xFF\xD8\xFF", 3)) {
        return ImageFormat::kJpeg;
    }
    if (StartsWith(bytes, length, "GIF87a", 6) || StartsWith(bytes, length, "GIF89a", 6)) {
        return ImageFormat::kGif;
    }
    if (StartsWith(bytes, length, "BM", 2)) {
        return ImageFormat::kBmp;
    }
    static const char kFooter[] = "TRUEVISION-XFILE.";  // and its terminating zero
    if (NameEndsInTga(fileName) ||
        (length >= sizeof kFooter &&
         std::memcmp(bytes + length - sizeof kFooter, kFooter, sizeof kFooter) == 0)) {
        return ImageFormat::kTga;
    }
    return ImageFormat::kUnknown;
}

const char* ImageFormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::kPng:
            return "PNG";
        case ImageFormat::kJpeg:
            return "JPEG";
        case ImageFormat::kGif:
            return "GIF";
        case ImageFormat::kBmp:
            return "BMP";
        case ImageFormat::kTga:
            return "TGA";
        case ImageFormat::kUnknown:
            break;
    }
    return "unknown";
}
