#include "images/TgaDecoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "images/ByteView.h"
#include "images/RowReducer.h"

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr int kColourMapped = 1, kTrueColour = 2, kGrey = 3, kCompressed = 8;

struct TgaHeader {
    int type = 0;  // without the compressed flag
    bool compressed = false;
    int width = 0;
    int height = 0;
    int pixelBits = 0;
    int pixelBytes = 0;
    bool alpha = false;  // the descriptor gives the pixels alpha bits
    bool rightToLeft = false;
    bool topDown = false;
    std::size_t mapOffset = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    std::size_t pixelOffset = 0;
};

int BytesFor(int bits) {
    return (bits + 7) / 8;
}

bool ReadHeader(const ByteView& file, TgaHeader& header, std::string& why) {
    if (!file.Has(0, kHeaderBytes)) {
        why = "is too short for a TGA header";
        return false;
    }
    const int idLength = file.U8(0);
    const int mapType = file.U8(1);
    const int imageType = file.U8(2);
    header.type = imageType & ~kCompressed;
    header.compressed = (imageType & kCompressed) != 0;
    header.mapFirst = file.U16(3);
    header.mapLength = file.U16(5);
    header.mapEntryBits = file.U8(7);
    header.width = file.U16(12);
    header.height = file.U16(14);
    header.pixelBits = file.U8(16);
    header.pixelBytes = BytesFor(header.pixelBits);
    const int descriptor = file.U8(17);
    header.alpha = (descriptor & 15) != 0;
    header.rightToLeft = (descriptor & 16) != 0;
    header.topDown = (descriptor & 32) != 0;
    const int bits = header.pixelBits;
    const bool known =
        (imageType & ~(kCompressed | 3)) == 0 && mapType <= 1 && (descriptor & 0xC0) == 0 &&
        ((header.type == kColourMapped && mapType == 1 && (bits == 8 || bits == 16)) ||
         (header.type == kTrueColour && (bits == 15 || bits == 16 || bits == 24 || bits == 32)) ||
         (header.type == kGrey && bits == 8));
    if (!known) {
        why = "is a TGA of image type " + std::to_string(imageType) + ", colour map type " +
              std::to_string(mapType) + " and " + std::to_string(bits) +
              " bits a pixel, which is not read";
        return false;
    }
    if (header.width == 0 || header.height == 0) {
        why = "has a TGA size of " + std::to_string(header.width) + "x" +
              std::to_string(header.height) + " pixels";
        return false;
    }
    header.mapOffset = kHeaderBytes + std::size_t(idLength);
    std::size_t mapBytes = 0;
    if (mapType == 1) {
        const int entry = header.mapEntryBits;
        if (entry != 15 && entry != 16 && entry != 24 && entry != 32) {
            why = "has TGA colour map entries of " + std::to_string(entry) + " bits";
            return false;
        }
        mapBytes = std::size_t(header.mapLength) * std::size_t(BytesFor(entry));
    }
    if (!file.Has(header.mapOffset, mapBytes)) {
        why = "ends inside its TGA colour map";
        return false;
    }
    header.pixelOffset = header.mapOffset + mapBytes;
    return true;
}

// Turns stored pixels into red, green, blue, alpha bytes.
class PixelConverter {
public:
    PixelConverter(const ByteView& file, const TgaHeader& header) : file_(file), header_(header) {}

    // The pixel whose stored bytes start at `p`; false, and why, for an index past the map.
    bool Convert(const unsigned char* p, unsigned char* out, std::string& why) const {
        switch (header_.type) {
            case kGrey:
                out[0] = out[1] = out[2] = p[0];
                out[3] = 255;
                return true;
            case kTrueColour:
                FromColour(p, header_.pixelBits, header_.alpha, out);
                return true;
            default: {
                const int index = header_.pixelBits == 8 ? p[0] : p[0] | p[1] << 8;
                const int entry = index - header_.mapFirst;
                if (entry < 0 || entry >= header_.mapLength) {
                    why = "names colour " + std::to_string(index) +
                          " of a TGA colour map of entries " + std::to_string(header_.mapFirst) +
                          " to " + std::to_string(header_.mapFirst + header_.mapLength - 1);
                    return false;
                }
                const int entryBits = header_.mapEntryBits;
                const std::size_t at =
                    header_.mapOffset + std::size_t(entry) * std::size_t(BytesFor(entryBits));
                FromColour(file_.At(at), entryBits, header_.alpha, out);
                return true;
            }
        }
    }

private:
    // 15 and 16 bits: ARRRRRGGGGGBBBBB, little-endian; 24 and 32: blue, green, red(, alpha).
    static void FromColour(const unsigned char* p, int bits, bool alpha, unsigned char* out) {
        if (bits <= 16) {
            const unsigned value = p[0] | p[1] << 8;
            const auto five = [](unsigned v) {
                return static_cast<unsigned char>((v * 255 + 15) / 31);
            };
            out[0] = five((value >> 10) & 31);
            out[1] = five((value >> 5) & 31);
            out[2] = five(value & 31);
            out[3] = bits == 16 && alpha && (value & 0x8000u) == 0 ? 0 : 255;
            return;
        }
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
        out[3] = bits == 32 && alpha ? p[3] : 255;
    }

    const ByteView& file_;
    const TgaHeader& header_;
};

// Gathers pixels into rows and hands each full row to the sink, turned left to right.
class RowAssembler {
public:
    RowAssembler(const TgaHeader& header, RowReducer& sink)
        : header_(header), sink_(sink), row_(4 * std::size_t(header.width)) {}

    unsigned char* NextPixel() { return &row_[4 * filled_]; }
    // After a pixel is written at NextPixel(); false when the sink stopped.
    bool PixelDone() {
        if (++filled_ < std::size_t(header_.width)) {
            return true;
        }
        filled_ = 0;
        if (header_.rightToLeft) {
            for (std::size_t left = 0, right = header_.width - 1u; left < right; ++left, --right) {
                std::swap_ranges(&row_[4 * left], &row_[4 * left + 4], &row_[4 * right]);
            }
        }
        return sink_.TakeRow(row_.data());
    }

private:
    const TgaHeader& header_;
    RowReducer& sink_;
    std::vector<unsigned char> row_;
    std::size_t filled_ = 0;
};

bool DecodeStored(const ByteView& file, const TgaHeader& header, RowAssembler& rows,
                  const PixelConverter& converter, std::string& why) {
    const std::uint64_t pixels = std::uint64_t(header.width) * std::uint64_t(header.height);
    const std::uint64_t needed = pixels * std::uint64_t(header.pixelBytes);
    if (!file.Has(header.pixelOffset, needed)) {
        why = "holds " + std::to_string(file.Length() - header.pixelOffset) + " of the " +
              std::to_string(needed) + " bytes of its TGA pixels";
        return false;
    }
    for (std::uint64_t i = 0; i < pixels; ++i) {
        const unsigned char* stored =
            file.At(header.pixelOffset + std::size_t(i) * header.pixelBytes);
        if (!converter.Convert(stored, rows.NextPixel(), why) || !rows.PixelDone()) {
            return false;
        }
    }
    return true;
}

// Packets of 1 to 128 pixels, each a run of one pixel or that many stored ones. A packet may
// run on into the next row, as TGA writers of old did, but not past the image.
bool DecodeRunLengths(const ByteView& file, const TgaHeader& header, RowAssembler& rows,
                      const PixelConverter& converter, std::string& why) {
    const std::uint64_t pixels = std::uint64_t(header.width) * std::uint64_t(header.height);
    const std::size_t size = std::size_t(header.pixelBytes);
    std::size_t at = header.pixelOffset;
    std::uint64_t done = 0;
    while (done < pixels) {
        if (!file.Has(at, 1)) {
            why = "ends after " + std::to_string(done) + " of its " + std::to_string(pixels) +
                  " TGA pixels";
            return false;
        }
        const int packet = file.U8(at++);
        const std::uint64_t count = std::uint64_t(packet & 0x7F) + 1;
        const bool run = (packet & 0x80) != 0;
        if (count > pixels - done) {
            why = "has a TGA packet of " + std::to_string(count) + " pixels past its last pixel";
            return false;
        }
        const std::uint64_t stored = run ? size : count * size;
        if (!file.Has(at, stored)) {
            why = "ends inside a packet of its TGA pixels";
            return false;
        }
        unsigned char pixel[4];
        if (run && !converter.Convert(file.At(at), pixel, why)) {
            return false;
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            unsigned char* out = rows.NextPixel();
            if (run) {
                std::copy(pixel, pixel + 4, out);
            } else if (!converter.Convert(file.At(at + std::size_t(i) * size), out, why)) {
                return false;
            }
            if (!rows.PixelDone()) {
                return false;
            }
        }
        at += std::size_t(stored);
        done += count;
    }
    return true;
}

}  // namespace

bool ReadTgaSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
                 std::string& why) {
    TgaHeader header;
    if (!ReadHeader(ByteView(bytes, length), header, why)) {
        return false;
    }
    width = header.width;
    height = header.height;
    return true;
}

bool DecodeTga(const unsigned char* bytes, std::size_t length, RowReducer& sink, std::string& why) {
    const ByteView file(bytes, length);
    TgaHeader header;
    if (!ReadHeader(file, header, why)) {
        return false;
    }
    if (!(header.topDown ? sink.BeginRows(header.width, header.height)
                         : sink.BeginRowsBottomUp(header.width, header.height))) {
        return false;
    }
    RowAssembler rows(header, sink);
    const PixelConverter converter(file, header);
    return header.compressed ? DecodeRunLengths(file, header, rows, converter, why)
                             : DecodeStored(file, header, rows, converter, why);
}
