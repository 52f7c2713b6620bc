#include "tests/support/OneColourImages.h"

#include <zlib.h>

#include <cstdint>
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

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

bool WriteChunk(std::FILE* file, const char* type, const std::vector<unsigned char>& data) {
    std::vector<unsigned char> chunk;
    PutU32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    PutU32(chunk, static_cast<std::uint32_t>(crc));
    return std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
}

}  // namespace

bool WriteOneColourPng(const std::string& path, int width, int height, OneColour colour) {
    File file = OpenForWriting(path);
    if (!file) {
        return false;
    }
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutU32(header, static_cast<std::uint32_t>(width));
    PutU32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, not interlaced
    if (std::fwrite(kSignature, 1, 8, file.get()) != 8 || !WriteChunk(file.get(), "IHDR", header)) {
        return false;
    }
    // Each row filtered by its left neighbour: the first pixel, then zeros, which run-length
    // matching compresses to almost nothing.
    std::vector<unsigned char> row(1 + 3 * static_cast<std::size_t>(width), 0);
    row[0] = 1;
    row[1] = colour.red, row[2] = colour.green, row[3] = colour.blue;
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, 15, 9, Z_RLE) != Z_OK) {
        return false;
    }
    std::vector<unsigned char> out(1 << 16);
    bool ok = true;
    for (int y = 0; y < height && ok; ++y) {
        stream.next_in = row.data();
        stream.avail_in = static_cast<uInt>(row.size());
        const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
        int status = Z_OK;
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = deflate(&stream, flush);
            const std::size_t produced = out.size() - stream.avail_out;
            if (produced > 0) {
                ok = ok && WriteChunk(file.get(), "IDAT",
                                      std::vector<unsigned char>(
                                          out.begin(), out.begin() + static_cast<long>(produced)));
            }
        } while (ok && (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END)));
    }
    deflateEnd(&stream);
    return ok && WriteChunk(file.get(), "IEND", {}) && std::fflush(file.get()) == 0;
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
    std::vector<unsigned char> row(3 * static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = colour.red, row[x + 1] = colour.green, row[x + 2] = colour.blue;
    }
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fflush(file.get()) == 0;
}
