#include "tools/imagewriter/OneColourImages.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

// jpeglib.h wants FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File OpenForWriting(const std::string& path) {
    return File(std::fopen(path.c_str(), "wb"), &std::fclose);
}

std::vector<unsigned char> OneColourRow(int width, OneColour colour) {
    std::vector<unsigned char> row(3 * static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = colour.red, row[x + 1] = colour.green, row[x + 2] = colour.blue;
    }
    return row;
}

}  // namespace

bool WriteOneColourPng(const std::string& path, int width, int height, OneColour colour) {
    File file = OpenForWriting(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const std::vector<unsigned char> row = OneColourRow(width, colour);
    volatile bool written = false;
    if (file && info != nullptr && setjmp(png_jmpbuf(png)) == 0) {  // libpng's errors land here
        png_init_io(png, file.get());
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        // Each row filtered by its left neighbour: the first pixel, then zeros, which run-length
        // matching compresses to almost nothing.
        png_set_filter(png, 0, PNG_FILTER_SUB);
        png_set_compression_level(png, 9);
        png_set_compression_strategy(png, Z_RLE);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = std::fflush(file.get()) == 0;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

bool WriteOneColourJpeg(const std::string& path, int width, int height, OneColour colour) {
    File file = OpenForWriting(path);
    if (!file) {
        return false;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a write error exits: only tests and benchmarks
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row = OneColourRow(width, colour);
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fflush(file.get()) == 0;
}
