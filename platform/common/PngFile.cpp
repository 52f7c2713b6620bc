// libpng's simplified interface: it converts formats and reports errors without setjmp.
#include "platform/common/PngFile.h"

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

bool EncodePng(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& png,
               std::string& error) {
    if (rgb == nullptr || width <= 0 || height <= 0 ||
        static_cast<long long>(width) * height > kMaxPngPixels) {
        error = "no picture to write";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // The first call measures, the second writes.
    png_alloc_size_t bytes = 0;
    if (png_image_write_to_memory(&image, nullptr, &bytes, 0, rgb, 0, nullptr) == 0) {
        error = image.message;
        return false;
    }
    png.resize(bytes);
    if (png_image_write_to_memory(&image, png.data(), &bytes, 0, rgb, 0, nullptr) == 0) {
        error = image.message;
        png.clear();
        return false;
    }
    png.resize(bytes);
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
