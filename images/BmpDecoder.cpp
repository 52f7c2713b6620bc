#include "images/BmpDecoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "images/ByteView.h"
#include "images/RowReducer.h"

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
// Far beyond any image the budget lets in; keeps the arithmetic below far from overflow.
constexpr std::int64_t kMaxSide = 1 << 20;

// One colour channel given by a mask of contiguous bits, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;  // the mask shifted down; 0 when the channel is absent

    explicit Channel(std::uint32_t bits = 0) : mask(bits) {
        if (mask == 0) {
            return;
        }
        while (((mask >> shift) & 1u) == 0) {
            ++shift;
        }
        maximum = mask >> shift;
    }
    unsigned char From(std::uint32_t pixel, unsigned char absent) const {
        if (maximum == 0) {
            return absent;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<unsigned char>((value * 255 + maximum / 2) / maximum);
    }
};

struct BmpHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, whichever way they are stored
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t pixelOffset = 0;
    std::size_t paletteOffset = 0;
    std::size_t paletteEntryBytes = 4;
    std::uint32_t paletteCount = 0;
    Channel red, green, blue, alpha;
};

bool ReadHeader(const ByteView& file, BmpHeader& header, std::string& why) {
    if (!file.Has(0, kFileHeaderBytes + 4) || file.U8(0) != 'B' || file.U8(1) != 'M') {
        why = "is too short for a BMP header";
        return false;
    }
    header.pixelOffset = file.U32(10);
    const std::uint32_t infoBytes = file.U32(kFileHeaderBytes);
    if (!file.Has(kFileHeaderBytes, infoBytes)) {
        why = "ends inside its BMP header";
        return false;
    }
    const std::size_t info = kFileHeaderBytes;
    std::uint32_t colorsUsed = 0;
    if (infoBytes == 12) {  // OS/2 1.x and Windows 2: 16-bit sizes, 3-byte palette entries
        header.width = file.U16(info + 4);
        header.height = file.U16(info + 6);
        header.bits = file.U16(info + 10);
        header.paletteEntryBytes = 3;
    } else if (infoBytes == 40 || infoBytes == 52 || infoBytes == 56 || infoBytes == 108 ||
               infoBytes == 124) {
        header.width = static_cast<std::int32_t>(file.U32(info + 4));
        header.height = static_cast<std::int32_t>(file.U32(info + 8));
        header.bits = file.U16(info + 14);
        header.compression = file.U32(info + 16);
        colorsUsed = file.U32(info + 32);
    } else {
        why = "has a BMP header of " + std::to_string(infoBytes) + " bytes, which is not read";
        return false;
    }
    if (header.height < 0) {
        header.height = -header.height;
        header.topDown = true;
    }
    if (header.width <= 0 || header.height <= 0 || header.width > kMaxSide ||
        header.height > kMaxSide) {
        why = "has a BMP size of " + std::to_string(header.width) + "x" +
              std::to_string(header.height) + " pixels";
        return false;
    }
    header.paletteOffset = info + infoBytes;
    const int bits = header.bits;
    const std::uint32_t compression = header.compression;
    const bool masked = compression == kBitFields || compression == kAlphaBitFields;
    const bool known = (compression == kRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                                                bits == 24 || bits == 32)) ||
                       (compression == kRle8 && bits == 8 && !header.topDown) ||
                       (compression == kRle4 && bits == 4 && !header.topDown) ||
                       (masked && (bits == 16 || bits == 32));
    if (!known) {
        why = "is a BMP of " + std::to_string(bits) + " bits a pixel in compression " +
              std::to_string(compression) + (header.topDown ? " stored top down" : "") +
              ", which is not read";
        return false;
    }
    if (masked) {
        // The masks follow a 40-byte header; longer headers hold them.
        std::size_t masks = info + 40;
        if (infoBytes == 40) {
            header.paletteOffset += compression == kAlphaBitFields ? 16 : 12;
        }
        if (!file.Has(masks, compression == kAlphaBitFields || infoBytes >= 56 ? 16 : 12)) {
            why = "ends inside its BMP colour masks";
            return false;
        }
        header.red = Channel(file.U32(masks));
        header.green = Channel(file.U32(masks + 4));
        header.blue = Channel(file.U32(masks + 8));
        if (compression == kAlphaBitFields || infoBytes >= 56) {
            header.alpha = Channel(file.U32(masks + 12));
        }
        const std::uint32_t widest = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        for (const Channel* c : {&header.red, &header.green, &header.blue, &header.alpha}) {
            // Contiguous bits within the pixel: the shifted mask is all ones.
            if ((c->mask & ~widest) != 0 || (c->maximum & (c->maximum + 1)) != 0) {
                why = "has a BMP colour mask that is not one run of bits in the pixel";
                return false;
            }
        }
    } else if (bits == 16) {
        header.red = Channel(0x7C00), header.green = Channel(0x03E0), header.blue = Channel(0x001F);
    } else if (bits == 32) {
        header.red = Channel(0x00FF0000), header.green = Channel(0x0000FF00),
        header.blue = Channel(0x000000FF);
    }
    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        header.paletteCount = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
        if (!file.Has(header.paletteOffset,
                      std::uint64_t{header.paletteCount} * header.paletteEntryBytes)) {
            why = "ends inside its BMP palette of " + std::to_string(header.paletteCount) +
                  " colours";
            return false;
        }
    }
    if (!file.Has(header.pixelOffset, 1)) {
        why = "has its BMP pixels at " + std::to_string(header.pixelOffset) + ", past its end";
        return false;
    }
    return true;
}

// Turns one stored row into red, green, blue, alpha bytes.
class RowConverter {
public:
    RowConverter(const ByteView& file, const BmpHeader& header)
        : file_(file), header_(header), rgba_(4 * std::size_t(header.width)) {}

    // A row of palette indices; false, and why, when one is past the palette.
    bool FromIndices(const std::vector<std::uint8_t>& indices, std::string& why) {
        for (std::size_t x = 0; x < indices.size(); ++x) {
            if (!PaletteColour(indices[x], &rgba_[4 * x], why)) {
                return false;
            }
        }
        return true;
    }

    // A stored row of the uncompressed formats, whose bytes are all in the file.
    bool FromStored(const unsigned char* row, std::string& why) {
        const std::size_t width = std::size_t(header_.width);
        const int bits = header_.bits;
        for (std::size_t x = 0; x < width; ++x) {
            unsigned char* out = &rgba_[4 * x];
            if (bits <= 8) {
                const std::size_t bit = x * std::size_t(bits);
                const unsigned value = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (!PaletteColour(value, out, why)) {
                    return false;
                }
            } else if (bits == 24) {
                out[0] = row[3 * x + 2], out[1] = row[3 * x + 1], out[2] = row[3 * x];
                out[3] = 255;
            } else {
                const unsigned char* p = row + x * std::size_t(bits / 8);
                const std::uint32_t pixel =
                    bits == 16 ? std::uint32_t(p[0] | p[1] << 8)
                               : std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                     std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
                out[0] = header_.red.From(pixel, 0);
                out[1] = header_.green.From(pixel, 0);
                out[2] = header_.blue.From(pixel, 0);
                out[3] = header_.alpha.From(pixel, 255);
            }
        }
        return true;
    }

    const unsigned char* Rgba() const { return rgba_.data(); }

private:
    bool PaletteColour(unsigned index, unsigned char* out, std::string& why) const {
        if (index >= header_.paletteCount) {
            why = "names colour " + std::to_string(index) + " of a BMP palette of " +
                  std::to_string(header_.paletteCount);
            return false;
        }
        const std::size_t entry = header_.paletteOffset + index * header_.paletteEntryBytes;
        out[0] = file_.U8(entry + 2), out[1] = file_.U8(entry + 1), out[2] = file_.U8(entry);
        out[3] = 255;
        return true;
    }

    const ByteView& file_;
    const BmpHeader& header_;
    std::vector<unsigned char> rgba_;
};

bool DecodeStored(const ByteView& file, const BmpHeader& header, RowReducer& sink,
                  std::string& why) {
    const std::uint64_t rowBytes = (std::uint64_t(header.width) * header.bits + 31) / 32 * 4;
    const std::uint64_t needed = rowBytes * std::uint64_t(header.height);
    if (!file.Has(header.pixelOffset, needed)) {
        why = "holds " + std::to_string(file.Length() - header.pixelOffset) + " of the " +
              std::to_string(needed) + " bytes of its BMP pixels";
        return false;
    }
    RowConverter converter(file, header);
    for (std::int64_t row = 0; row < header.height; ++row) {
        const unsigned char* stored = file.At(header.pixelOffset + std::size_t(row * rowBytes));
        if (!converter.FromStored(stored, why)) {
            return false;
        }
        if (!sink.TakeRow(converter.Rgba())) {
            return false;
        }
    }
    return true;
}

// Run-length compressed rows of 8 or 4 bits a pixel, bottom row first. A run or a literal
// longer than what is left of its row, or a jump past the image, is a damaged file.
bool DecodeRunLengths(const ByteView& file, const BmpHeader& header, RowReducer& sink,
                      std::string& why) {
    const bool fourBits = header.compression == kRle4;
    const std::size_t width = std::size_t(header.width);
    const std::int64_t height = header.height;
    RowConverter converter(file, header);
    std::vector<std::uint8_t> indices(width, 0);
    std::size_t at = header.pixelOffset;
    std::size_t x = 0;
    std::int64_t y = 0;  // rows given to the sink so far
    const auto emitRow = [&]() {
        if (!converter.FromIndices(indices, why) || !sink.TakeRow(converter.Rgba())) {
            return false;
        }
        std::fill(indices.begin(), indices.end(), std::uint8_t{0});
        ++y;
        x = 0;
        return true;
    };
    const auto tooLong = [&](std::size_t count) {
        why = "has a BMP run of " + std::to_string(count) + " pixels past the end of row " +
              std::to_string(y);
        return false;
    };
    while (true) {
        if (!file.Has(at, 2)) {
            why = "ends before the end of its compressed BMP pixels";
            return false;
        }
        const std::size_t count = file.U8(at);
        const std::uint8_t value = file.U8(at + 1);
        at += 2;
        if (count > 0) {
            if (y >= height) {
                why = "has BMP pixels past its last row";
                return false;
            }
            if (count > width - x) {
                return tooLong(count);
            }
            for (std::size_t i = 0; i < count; ++i) {
                indices[x++] = fourBits ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
            }
            continue;
        }
        if (value == 0 || value == 1) {  // end of the row; end of the image
            if (y < height && !emitRow()) {
                return false;
            }
            if (value == 1) {
                while (y < height) {
                    if (!emitRow()) {
                        return false;
                    }
                }
                return true;
            }
        } else if (value == 2) {  // move right and up
            if (!file.Has(at, 2)) {
                why = "ends inside a BMP jump";
                return false;
            }
            const std::size_t right = file.U8(at);
            const std::int64_t up = file.U8(at + 1);
            at += 2;
            if (right > width - x || up > height - y || (up == height - y && right > 0)) {
                why = "jumps past the edge of its BMP image";
                return false;
            }
            const std::size_t column = x + right;
            for (std::int64_t i = 0; i < up; ++i) {
                if (!emitRow()) {
                    return false;
                }
            }
            x = column;
        } else {  // a literal run of `value` pixels, padded to a whole 16-bit word
            const std::size_t literal = value;
            const std::size_t bytes = fourBits ? (literal + 1) / 2 : literal;
            if (y >= height) {
                why = "has BMP pixels past its last row";
                return false;
            }
            if (literal > width - x) {
                return tooLong(literal);
            }
            if (!file.Has(at, bytes)) {
                why = "ends inside a run of its compressed BMP pixels";
                return false;
            }
            for (std::size_t i = 0; i < literal; ++i) {
                const std::uint8_t byte = file.U8(at + (fourBits ? i / 2 : i));
                indices[x++] = fourBits ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte;
            }
            at += bytes + bytes % 2;
        }
    }
}

}  // namespace

bool ReadBmpSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
                 std::string& why) {
    BmpHeader header;
    if (!ReadHeader(ByteView(bytes, length), header, why)) {
        return false;
    }
    width = static_cast<int>(header.width);
    height = static_cast<int>(header.height);
    return true;
}

bool DecodeBmp(const unsigned char* bytes, std::size_t length, RowReducer& sink, std::string& why) {
    const ByteView file(bytes, length);
    BmpHeader header;
    if (!ReadHeader(file, header, why)) {
        return false;
    }
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    if (!(header.topDown ? sink.BeginRows(width, height) : sink.BeginRowsBottomUp(width, height))) {
        why = "cannot be taken at its size";
        return false;
    }
    return header.compression == kRle8 || header.compression == kRle4
               ? DecodeRunLengths(file, header, sink, why)
               : DecodeStored(file, header, sink, why);
}
