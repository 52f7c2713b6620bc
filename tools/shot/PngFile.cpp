// libpng's simplified interface: it converts formats and reports errors without setjmp.
#include "tools/shot/PngFile.h"

#include <png.h>

#include <cstring>

bool WritePng(const std::string& path, const RgbImage& image, std::string& error) {
    if (!image.IsWhole()) {
        error = "no picture to write";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) == 0) {
        error = path + ": " + png.message;
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, RgbImage& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        error = path + ": " + png.message;
        return false;
    }
    const long long pixels = static_cast<long long>(png.width) * png.height;
    if (png.width == 0 || png.height == 0 || pixels > kMaxPngPixels) {
        png_image_free(&png);
        error = path + ": picture too large";
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.assign(image.ByteCount(), 0);
    const png_color black{0, 0, 0};
    if (png_image_finish_read(&png, &black, image.pixels.data(), 0, nullptr) == 0) {
        error = path + ": " + png.message;
        image = RgbImage{};
        return false;
    }
    return true;
}
