#include "tools/imagewriter/ImageWriters.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace {

void Put16(ImageBytes& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}
void Put32(ImageBytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}
void PutBig32(ImageBytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

// A 5-bit level as the 8-bit value that every decoder scales it to.
unsigned char Level(int five) {
    return static_cast<unsigned char>((five * 255 + 15) / 31);
}
int FiveBits(unsigned char value) {
    return (value * 31 + 127) / 255;
}

// The distinct colours of a picture, in order of first appearance, and each pixel's index.
struct Indexed {
    std::vector<std::uint32_t> colours;  // 0xAARRGGBB
    std::vector<int> indices;            // top row first
};
std::uint32_t Packed(const unsigned char* p) {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
}
Indexed IndexColours(const Picture& picture) {
    Indexed out;
    std::map<std::uint32_t, int> index;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t colour = Packed(picture.At(x, y));
            const auto [at, added] = index.emplace(colour, int(out.colours.size()));
            if (added) {
                out.colours.push_back(colour);
            }
            out.indices.push_back(at->second);
        }
    }
    return out;
}

// Rows in the order stored: bottom up unless `topDown`.
int StoredRow(const Picture& picture, int i, bool topDown) {
    return topDown ? i : picture.height - 1 - i;
}

// Runs of equal indices in one row, as BMP run-length encoding writes them; lone pixels in a
// row of three or more go as a literal run.
void EncodeRunLengthRow(const std::vector<int>& row, bool fourBits, ImageBytes& out) {
    std::size_t x = 0;
    while (x < row.size()) {
        std::size_t run = 1;
        while (x + run < row.size() && row[x + run] == row[x] && run < 255) {
            ++run;
        }
        std::size_t literal = 0;
        while (x + literal < row.size() && literal < 255 &&
               (x + literal + 1 >= row.size() || row[x + literal + 1] != row[x + literal])) {
            ++literal;
        }
        if (run == 1 && literal >= 3) {
            out.push_back(0);
            out.push_back(static_cast<unsigned char>(literal));
            const std::size_t bytes = fourBits ? (literal + 1) / 2 : literal;
            for (std::size_t i = 0; i < bytes; ++i) {
                unsigned value = 0;
                if (fourBits) {
                    value = row[x + 2 * i] << 4;
                    value |= 2 * i + 1 < literal ? row[x + 2 * i + 1] : 0;
                } else {
                    value = row[x + i];
                }
                out.push_back(static_cast<unsigned char>(value));
            }
            if (bytes % 2 != 0) {
                out.push_back(0);
            }
            x += literal;
            continue;
        }
        out.push_back(static_cast<unsigned char>(run));
        out.push_back(static_cast<unsigned char>(fourBits ? row[x] << 4 | row[x] : row[x]));
        x += run;
    }
}

std::uint32_t Crc32(const unsigned char* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

void PngChunk(ImageBytes& out, const char* type, const ImageBytes& data) {
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks.
ImageBytes StoredZlib(const ImageBytes& data) {
    ImageBytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, data.size() - at);
        out.push_back(at + length == data.size() ? 1 : 0);
        Put16(out, unsigned(length));
        Put16(out, unsigned(~length & 0xFFFF));
        out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + length));
        at += length;
    } while (at < data.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, b << 16 | a);
    return out;
}

// The GIF's code stream for the indices, with a clear code often enough that every code stays
// one bit wider than the indices: valid LZW without a dictionary.
ImageBytes GifCodes(const std::vector<int>& indices, int minimumBits) {
    const unsigned clear = 1u << minimumBits;
    const int width = minimumBits + 1;
    ImageBytes packed;
    std::uint32_t buffer = 0;
    int bits = 0;
    const auto emit = [&](unsigned code) {
        buffer |= code << bits;
        bits += width;
        while (bits >= 8) {
            packed.push_back(static_cast<unsigned char>(buffer));
            buffer >>= 8;
            bits -= 8;
        }
    };
    const std::size_t perClear = clear - 2;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % perClear == 0) {
            emit(clear);
        }
        emit(static_cast<unsigned>(indices[i]));
    }
    emit(clear + 1);
    if (bits > 0) {
        packed.push_back(static_cast<unsigned char>(buffer));
    }
    ImageBytes out = {static_cast<unsigned char>(minimumBits)};
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(static_cast<unsigned char>(length));
        out.insert(out.end(), packed.begin() + long(at), packed.begin() + long(at + length));
    }
    out.push_back(0);
    return out;
}

}  // namespace

Picture PatternPicture(int width, int height, int colours, bool alpha) {
    Picture picture{width, height, std::vector<unsigned char>(4 * std::size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int c = (x * 3 + y * 7 + (x / 3) * (y / 2)) % colours;
            unsigned char* p = picture.At(x, y);
            p[0] = Level((c * 7) % 32), p[1] = Level((c * 13 + 5) % 32), p[2] = Level(c / 8 % 32);
            p[3] = alpha && c % 3 == 0 ? 0 : 255;
        }
    }
    return picture;
}

std::vector<unsigned char> BottomRowFirst(const Picture& picture) {
    std::vector<unsigned char> out;
    for (int y = picture.height - 1; y >= 0; --y) {
        out.insert(out.end(), picture.At(0, y), picture.At(0, y) + 4 * std::size_t(picture.width));
    }
    return out;
}

ImageBytes EncodeBmp(const Picture& picture, const BmpOptions& options) {
    const BmpKind kind = options.kind;
    const bool rle = kind == BmpKind::kRle4 || kind == BmpKind::kRle8;
    const int bits = kind == BmpKind::kIndexed1                                  ? 1
                     : kind == BmpKind::kIndexed4 || kind == BmpKind::kRle4      ? 4
                     : kind == BmpKind::kIndexed8 || kind == BmpKind::kRle8      ? 8
                     : kind == BmpKind::kRgb555 || kind == BmpKind::kRgb555Masks ? 16
                     : kind == BmpKind::kRgb24 || kind == BmpKind::kCore24       ? 24
                                                                                 : 32;
    const bool core = kind == BmpKind::kCore24;
    const std::uint32_t infoBytes = core ? 12 : kind == BmpKind::kRgba32 ? 108 : 40;
    const std::uint32_t compression = kind == BmpKind::kRle8   ? 1
                                      : kind == BmpKind::kRle4 ? 2
                                      : kind == BmpKind::kRgb555Masks || kind == BmpKind::kRgba32
                                          ? 3
                                          : 0;
    const Indexed indexed = IndexColours(picture);
    ImageBytes palette;
    if (bits <= 8) {
        for (std::uint32_t colour : indexed.colours) {
            Put32(palette, colour & 0xFFFFFFu);
        }
    }
    ImageBytes masks;
    if (kind == BmpKind::kRgb555Masks) {
        Put32(masks, 0x7C00), Put32(masks, 0x03E0), Put32(masks, 0x001F);
    }
    ImageBytes pixels;
    const std::size_t rowBytes = (std::size_t(picture.width) * bits + 31) / 32 * 4;
    for (int i = 0; i < picture.height; ++i) {
        const int y = StoredRow(picture, i, options.topDown && !rle);
        std::vector<int> rowIndices(indexed.indices.begin() + long(y) * picture.width,
                                    indexed.indices.begin() + long(y + 1) * picture.width);
        if (rle) {
            EncodeRunLengthRow(rowIndices, bits == 4, pixels);
            pixels.push_back(0), pixels.push_back(i + 1 == picture.height ? 1 : 0);
            continue;
        }
        ImageBytes row(rowBytes, 0);
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.At(x, y);
            if (bits <= 8) {
                const std::size_t bit = std::size_t(x) * bits;
                row[bit / 8] |= static_cast<unsigned char>(rowIndices[x] << (8 - bits - bit % 8));
            } else if (bits == 16) {
                const unsigned value = FiveBits(p[0]) << 10 | FiveBits(p[1]) << 5 | FiveBits(p[2]);
                row[2 * x] = static_cast<unsigned char>(value);
                row[2 * x + 1] = static_cast<unsigned char>(value >> 8);
            } else {
                unsigned char* out = &row[std::size_t(x) * (bits / 8)];
                out[0] = p[2], out[1] = p[1], out[2] = p[0];
                if (bits == 32) {
                    out[3] = kind == BmpKind::kRgba32 ? p[3] : 0x5A;
                }
            }
        }
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    ImageBytes out = {'B', 'M'};
    const std::uint32_t offset =
        14 + infoBytes + std::uint32_t(masks.size()) + std::uint32_t(palette.size());
    Put32(out, offset + std::uint32_t(pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, infoBytes);
    if (core) {
        Put16(out, unsigned(picture.width)), Put16(out, unsigned(picture.height));
        Put16(out, 1), Put16(out, unsigned(bits));
    } else {
        Put32(out, std::uint32_t(picture.width));
        Put32(out, std::uint32_t(options.topDown && !rle ? -picture.height : picture.height));
        Put16(out, 1), Put16(out, unsigned(bits));
        Put32(out, compression);
        Put32(out, std::uint32_t(pixels.size()));
        Put32(out, 2835), Put32(out, 2835);
        Put32(out, bits <= 8 ? std::uint32_t(indexed.colours.size()) : 0);
        Put32(out, 0);
        if (infoBytes == 108) {
            Put32(out, 0x00FF0000), Put32(out, 0x0000FF00), Put32(out, 0x000000FF);
            Put32(out, 0xFF000000);
            out.resize(14 + 108, 0);
        }
    }
    out.insert(out.end(), masks.begin(), masks.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::size_t BmpPixelOffset(const ImageBytes& bmp) {
    return bmp.size() < 14 ? 0
                           : bmp[10] | bmp[11] << 8 | bmp[12] << 16 | std::size_t(bmp[13]) << 24;
}

ImageBytes EncodeTga(const Picture& picture, const TgaOptions& options) {
    const TgaKind kind = options.kind;
    const bool mapped = kind == TgaKind::kMapped8;
    const int bits = kind == TgaKind::kMapped8 || kind == TgaKind::kGrey8 ? 8
                     : kind == TgaKind::kRgb15                            ? 15
                     : kind == TgaKind::kRgb16                            ? 16
                     : kind == TgaKind::kRgb24                            ? 24
                                                                          : 32;
    const Indexed indexed = IndexColours(picture);
    ImageBytes out;
    out.push_back(3);  // an identification field of three bytes, passed over
    out.push_back(mapped ? 1 : 0);
    const int type = mapped ? 1 : kind == TgaKind::kGrey8 ? 3 : 2;
    out.push_back(static_cast<unsigned char>(type | (options.compressed ? 8 : 0)));
    Put16(out, unsigned(mapped ? options.mapFirst : 0));
    Put16(out, unsigned(mapped ? indexed.colours.size() : 0));
    out.push_back(mapped ? 24 : 0);
    Put16(out, 0), Put16(out, 0);
    Put16(out, unsigned(picture.width)), Put16(out, unsigned(picture.height));
    out.push_back(static_cast<unsigned char>(bits));
    const int alphaBits = kind == TgaKind::kRgba32 ? 8 : kind == TgaKind::kRgb16 ? 1 : 0;
    out.push_back(static_cast<unsigned char>(alphaBits | (options.rightToLeft ? 16 : 0) |
                                             (options.topDown ? 32 : 0)));
    out.insert(out.end(), {'i', 'd', '!'});
    if (mapped) {
        for (std::uint32_t colour : indexed.colours) {
            out.push_back(static_cast<unsigned char>(colour));
            out.push_back(static_cast<unsigned char>(colour >> 8));
            out.push_back(static_cast<unsigned char>(colour >> 16));
        }
    }
    // Every pixel's stored bytes, in the file's order.
    std::vector<ImageBytes> stored;
    for (int i = 0; i < picture.height; ++i) {
        const int y = StoredRow(picture, i, options.topDown);
        for (int j = 0; j < picture.width; ++j) {
            const int x = options.rightToLeft ? picture.width - 1 - j : j;
            const unsigned char* p = picture.At(x, y);
            ImageBytes pixel;
            if (mapped) {
                pixel.push_back(static_cast<unsigned char>(
                    indexed.indices[std::size_t(y) * picture.width + x] + options.mapFirst));
            } else if (kind == TgaKind::kGrey8) {
                pixel.push_back(p[0]);
            } else if (bits <= 16) {
                const unsigned alpha = kind == TgaKind::kRgb16 && p[3] == 0 ? 0 : 0x8000;
                Put16(pixel, alpha | FiveBits(p[0]) << 10 | FiveBits(p[1]) << 5 | FiveBits(p[2]));
            } else {
                pixel.insert(pixel.end(), {p[2], p[1], p[0]});
                if (bits == 32) {
                    pixel.push_back(p[3]);
                }
            }
            stored.push_back(pixel);
        }
    }
    if (!options.compressed) {
        for (const ImageBytes& pixel : stored) {
            out.insert(out.end(), pixel.begin(), pixel.end());
        }
        return out;
    }
    // Packets run on across rows, as old writers did.
    std::size_t at = 0;
    while (at < stored.size()) {
        std::size_t run = 1;
        while (at + run < stored.size() && stored[at + run] == stored[at] && run < 128) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<unsigned char>(0x80 | (run - 1)));
            out.insert(out.end(), stored[at].begin(), stored[at].end());
            at += run;
            continue;
        }
        std::size_t raw = 1;
        while (at + raw < stored.size() && raw < 128 &&
               !(at + raw + 1 < stored.size() && stored[at + raw] == stored[at + raw + 1])) {
            ++raw;
        }
        out.push_back(static_cast<unsigned char>(raw - 1));
        for (std::size_t i = 0; i < raw; ++i) {
            out.insert(out.end(), stored[at + i].begin(), stored[at + i].end());
        }
        at += raw;
    }
    return out;
}

ImageBytes EncodePng(const Picture& picture, const PngOptions& options) {
    const int type = options.colourType;
    const int depth = options.bitDepth;
    const Indexed indexed = IndexColours(picture);
    const int channels = type == 0 ? 1 : type == 2 ? 3 : type == 3 ? 1 : type == 4 ? 2 : 4;
    const auto pixelBytes = [&](int x, int y) {
        const unsigned char* p = picture.At(x, y);
        ImageBytes bytes;
        if (type == 3) {
            bytes.push_back(
                static_cast<unsigned char>(indexed.indices[std::size_t(y) * picture.width + x]));
            return bytes;
        }
        const unsigned char grey[2] = {p[0], p[3]};
        for (int c = 0; c < channels; ++c) {
            const unsigned char value = type == 0 || type == 4 ? grey[c] : p[c];
            bytes.push_back(value);
            if (depth == 16) {
                bytes.push_back(static_cast<unsigned char>(value ^ 0x5A));  // the low byte
            }
        }
        return bytes;
    };
    // Adam7's passes: start and step across, then down; one pass of all pixels otherwise.
    static const int kAdam7[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                     {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};
    static const int kWhole[1][4] = {{0, 1, 0, 1}};
    const int passes = options.interlaced ? 7 : 1;
    ImageBytes raw;
    for (int pass = 0; pass < passes; ++pass) {
        const int* p = options.interlaced ? kAdam7[pass] : kWhole[0];
        if (p[0] >= picture.width || p[2] >= picture.height) {
            continue;
        }
        for (int y = p[2]; y < picture.height; y += p[3]) {
            raw.push_back(0);  // no filter
            for (int x = p[0]; x < picture.width; x += p[1]) {
                const ImageBytes bytes = pixelBytes(x, y);
                raw.insert(raw.end(), bytes.begin(), bytes.end());
            }
        }
    }
    ImageBytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ImageBytes header;
    PutBig32(header, std::uint32_t(picture.width));
    PutBig32(header, std::uint32_t(picture.height));
    header.insert(header.end(),
                  {static_cast<unsigned char>(depth), static_cast<unsigned char>(type), 0, 0,
                   static_cast<unsigned char>(options.interlaced ? 1 : 0)});
    PngChunk(out, "IHDR", header);
    if (type == 3) {
        ImageBytes palette, alpha;
        for (std::uint32_t colour : indexed.colours) {
            palette.insert(palette.end(), {static_cast<unsigned char>(colour >> 16),
                                           static_cast<unsigned char>(colour >> 8),
                                           static_cast<unsigned char>(colour)});
            alpha.push_back(static_cast<unsigned char>(colour >> 24));
        }
        PngChunk(out, "PLTE", palette);
        PngChunk(out, "tRNS", alpha);
    }
    PngChunk(out, "IDAT", StoredZlib(raw));
    PngChunk(out, "IEND", {});
    return out;
}

Picture OnGifScreen(const Picture& picture, const GifOptions& options) {
    const int width = options.screenWidth > 0 ? options.screenWidth : picture.width;
    const int height = options.screenHeight > 0 ? options.screenHeight : picture.height;
    Picture screen{width, height, std::vector<unsigned char>(4 * std::size_t(width) * height, 0)};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.At(x, y);
            if (options.transparency && p[3] == 0) {
                continue;
            }
            unsigned char* out = screen.At(options.left + x, options.top + y);
            out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
        }
    }
    return screen;
}

ImageBytes EncodeGif(const Picture& picture, const GifOptions& options) {
    Indexed indexed = IndexColours(picture);
    int transparent = -1;
    if (options.transparency) {
        // Every colour of alpha 0 becomes one transparent entry at the end of the map.
        std::vector<int> remap(indexed.colours.size());
        std::vector<std::uint32_t> opaque;
        for (std::size_t i = 0; i < indexed.colours.size(); ++i) {
            if (indexed.colours[i] >> 24 == 0) {
                remap[i] = -1;
            } else {
                remap[i] = int(opaque.size());
                opaque.push_back(indexed.colours[i]);
            }
        }
        transparent = int(opaque.size());
        opaque.push_back(0);
        for (int& index : indexed.indices) {
            index = remap[std::size_t(index)] < 0 ? transparent : remap[std::size_t(index)];
        }
        indexed.colours = opaque;
    }
    int bits = 1;
    while ((1u << bits) < indexed.colours.size()) {
        ++bits;
    }
    ImageBytes map;
    for (std::size_t i = 0; i < (1u << bits); ++i) {
        const std::uint32_t colour = i < indexed.colours.size() ? indexed.colours[i] : 0;
        map.insert(map.end(),
                   {static_cast<unsigned char>(colour >> 16),
                    static_cast<unsigned char>(colour >> 8), static_cast<unsigned char>(colour)});
    }
    ImageBytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, unsigned(options.screenWidth > 0 ? options.screenWidth : picture.width));
    Put16(out, unsigned(options.screenHeight > 0 ? options.screenHeight : picture.height));
    const unsigned char size = static_cast<unsigned char>(bits - 1);
    out.push_back(static_cast<unsigned char>(options.localColourMap ? 0x70 : 0xF0 | size));
    out.push_back(0), out.push_back(0);
    if (!options.localColourMap) {
        out.insert(out.end(), map.begin(), map.end());
    }
    if (transparent >= 0) {
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<unsigned char>(transparent), 0});
    }
    out.push_back(0x2C);
    Put16(out, unsigned(options.left)), Put16(out, unsigned(options.top));
    Put16(out, unsigned(picture.width)), Put16(out, unsigned(picture.height));
    out.push_back(static_cast<unsigned char>((options.interlaced ? 0x40 : 0) |
                                             (options.localColourMap ? 0x80 | size : 0)));
    if (options.localColourMap) {
        out.insert(out.end(), map.begin(), map.end());
    }
    std::vector<int> rows;
    if (options.interlaced) {
        static const int kStart[] = {0, 4, 2, 1};
        static const int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int y = kStart[pass]; y < picture.height; y += kStep[pass]) {
                rows.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < picture.height; ++y) {
            rows.push_back(y);
        }
    }
    std::vector<int> ordered;
    for (int y : rows) {
        ordered.insert(ordered.end(), indexed.indices.begin() + long(y) * picture.width,
                       indexed.indices.begin() + long(y + 1) * picture.width);
    }
    const ImageBytes codes = GifCodes(ordered, std::max(2, bits));
    out.insert(out.end(), codes.begin(), codes.end());
    out.push_back(0x3B);
    return out;
}

bool WriteImageFile(const std::string& path, const ImageBytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
