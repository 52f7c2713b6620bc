// The program's own BMP and TGA decoders: every kind they read comes out pixel for pixel; every
// truncated or damaged file is refused with a reason or decoded whole, never read past its end
// (the sanitizer build runs these too); the lies a hostile file tells are each refused.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/images/ImageTestSupport.h"

namespace {

struct OwnFile {
    std::string name;  // of the case, and the file's name (.bmp or .tga)
    Picture picture;
    ImageBytes bytes;
};

std::vector<OwnFile> OwnFiles() {
    std::vector<OwnFile> files;
    const struct {
        BmpKind kind;
        const char* name;
        int colours;
    } bmpKinds[] = {{BmpKind::kIndexed1, "indexed1", 2},
                    {BmpKind::kIndexed4, "indexed4", 16},
                    {BmpKind::kIndexed8, "indexed8", 200},
                    {BmpKind::kRle4, "rle4", 16},
                    {BmpKind::kRle8, "rle8", 200},
                    {BmpKind::kRgb555, "rgb555", 256},
                    {BmpKind::kRgb555Masks, "masks555", 256},
                    {BmpKind::kRgb24, "rgb24", 256},
                    {BmpKind::kRgbx32, "rgbx32", 256},
                    {BmpKind::kRgba32, "rgba32", 256},
                    {BmpKind::kCore24, "core24", 256}};
    for (const auto& kind : bmpKinds) {
        const bool rle = kind.kind == BmpKind::kRle4 || kind.kind == BmpKind::kRle8;
        for (const bool topDown : {false, true}) {
            if (topDown && (rle || kind.kind == BmpKind::kCore24)) {
                continue;
            }
            for (const auto& [width, height] : {std::pair{1, 1}, {13, 5}, {37, 9}}) {
                const Picture picture = rle && width > 1
                                            ? StripedPicture(width, height, kind.colours, 5)
                                            : PatternPicture(width, height, kind.colours,
                                                             kind.kind == BmpKind::kRgba32);
                files.push_back({std::string(kind.name) + (topDown ? "-topdown-" : "-") +
                                     std::to_string(width) + ".bmp",
                                 picture, EncodeBmp(picture, {kind.kind, topDown})});
            }
        }
    }
    const struct {
        TgaKind kind;
        const char* name;
        int colours;
        bool alpha;
    } tgaKinds[] = {
        {TgaKind::kMapped8, "mapped8", 100, false}, {TgaKind::kGrey8, "grey8", 1, false},
        {TgaKind::kRgb15, "rgb15", 256, false},     {TgaKind::kRgb16, "rgb16", 256, true},
        {TgaKind::kRgb24, "rgb24", 256, false},     {TgaKind::kRgba32, "rgba32", 256, true}};
    for (const auto& kind : tgaKinds) {
        for (int variant = 0; variant < 8; ++variant) {
            TgaOptions options{kind.kind, (variant & 1) != 0, (variant & 2) != 0,
                               (variant & 4) != 0, kind.kind == TgaKind::kMapped8 ? 7 : 0};
            Picture picture = variant % 3 == 0 ? StripedPicture(29, 7, std::max(kind.colours, 2), 4)
                                               : PatternPicture(11, 6, kind.colours, kind.alpha);
            if (kind.kind == TgaKind::kGrey8) {
                for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
                    picture.rgba[i + 1] = picture.rgba[i + 2] = picture.rgba[i];
                    picture.rgba[i + 3] = 255;
                }
            }
            if (kind.kind == TgaKind::kRgb16 && variant % 3 == 0) {
                picture.rgba[3] = 0;  // one pixel with its alpha bit clear
            }
            files.push_back({std::string(kind.name) + "-" + std::to_string(variant) + ".tga",
                             picture, EncodeTga(picture, options)});
        }
    }
    return files;
}

TEST(OwnDecoders, EveryKindComesOutPixelForPixel) {
    for (const OwnFile& file : OwnFiles()) {
        const Decoded decoded = Decode(file.bytes, file.name);
        ASSERT_TRUE(decoded.ok) << file.name << ": " << decoded.why;
        EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height),
                  std::make_pair(file.picture.width, file.picture.height))
            << file.name;
        EXPECT_TRUE(decoded.image.rgba == BottomRowFirst(file.picture)) << file.name;
    }
}

// Cut anywhere, a file is refused with a reason: no kind has bytes it could do without.
TEST(OwnDecoders, EveryTruncationIsRefused) {
    for (const OwnFile& file : OwnFiles()) {
        for (std::size_t length = 0; length < file.bytes.size(); ++length) {
            const ImageBytes cut(file.bytes.begin(), file.bytes.begin() + long(length));
            const Decoded decoded = Decode(cut, file.name);
            ASSERT_FALSE(decoded.ok) << file.name << " cut to " << length;
            ASSERT_FALSE(decoded.why.empty()) << file.name << " cut to " << length;
        }
    }
}

// Damaged anywhere, a file is refused with a reason or decoded to the size its header gives.
TEST(OwnDecoders, DamageIsRefusedOrDecodedWhole) {
    std::uint32_t random = 12345;
    const auto next = [&random] {
        random = random * 1664525u + 1013904223u;
        return random >> 8;
    };
    for (const OwnFile& file : OwnFiles()) {
        for (int trial = 0; trial < 40; ++trial) {
            ImageBytes damaged = file.bytes;
            for (int hits = 1 + trial % 4; hits > 0; --hits) {
                damaged[next() % damaged.size()] = static_cast<unsigned char>(next());
            }
            const Decoded decoded = Decode(damaged, file.name);
            if (decoded.ok) {
                EXPECT_EQ(decoded.image.rgba.size(),
                          4 * std::size_t(decoded.image.width) * decoded.image.height);
            } else {
                EXPECT_FALSE(decoded.why.empty()) << file.name;
            }
        }
    }
}

void Put32(ImageBytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}
void Put16(ImageBytes& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<unsigned char>(value),
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

struct Lie {
    const char* what;
    ImageBytes bytes;
    const char* name;
    const char* refusal;  // a part of the reason given
};

// What a hostile file can claim that is not so, each refused with a reason that says it.
TEST(OwnDecoders, EachLieIsRefusedWithItsReason) {
    const Picture small = PatternPicture(4, 4, 4, false);
    const Picture plain = StripedPicture(4, 4, 1, 4);
    const ImageBytes bmp24 = EncodeBmp(small, {BmpKind::kRgb24});
    const ImageBytes bmp8 = EncodeBmp(small, {BmpKind::kIndexed8});
    const ImageBytes rle8 = EncodeBmp(small, {BmpKind::kRle8});
    const ImageBytes tga24 = EncodeTga(small, {TgaKind::kRgb24});
    const ImageBytes tgaMapped = EncodeTga(small, {TgaKind::kMapped8});
    const ImageBytes tgaRun = EncodeTga(plain, {TgaKind::kRgb24, true});
    const std::size_t tgaPixels = 18 + 3;  // the header, the identification field
    const auto edit = [](ImageBytes bytes, const std::function<void(ImageBytes&)>& change) {
        change(bytes);
        return bytes;
    };
    const std::size_t bmp8Pixels = BmpPixelOffset(bmp8), rlePixels = BmpPixelOffset(rle8);
    const Lie lies[] = {
        {"a BMP taller than its pixels", edit(bmp24, [](ImageBytes& b) { Put32(b, 22, 400); }),
         "x.bmp", "of the 4800 bytes of its BMP pixels"},
        {"a BMP wider than any", edit(bmp24, [](ImageBytes& b) { Put32(b, 18, 0x7FFFFFFF); }),
         "x.bmp", "has a BMP size of 2147483647x4"},
        {"BMP pixels past the end", edit(bmp24, [](ImageBytes& b) { Put32(b, 10, 5000); }), "x.bmp",
         "pixels at 5000, past its end"},
        {"a BMP header of another size", edit(bmp24, [](ImageBytes& b) { Put32(b, 14, 20); }),
         "x.bmp", "BMP header of 20 bytes"},
        {"a BMP palette past the end",
         edit(bmp8, [](ImageBytes& b) { Put32(b, 46, 256), b.resize(14 + 40 + 100); }), "x.bmp",
         "ends inside its BMP palette of 256 colours"},
        {"a BMP index past its palette", edit(bmp8, [&](ImageBytes& b) { b[bmp8Pixels + 5] = 9; }),
         "x.bmp", "names colour 9 of a BMP palette of 4"},
        {"a BMP run past its row",
         edit(rle8, [&](ImageBytes& b) { b[rlePixels] = 200, b[rlePixels + 1] = 0; }), "x.bmp",
         "BMP run of 200 pixels past the end of row 0"},
        {"a BMP literal past its row",
         edit(rle8, [&](ImageBytes& b) { b[rlePixels] = 0, b[rlePixels + 1] = 9; }), "x.bmp",
         "BMP run of 9 pixels past the end of row 0"},
        {"a BMP jump past its edge",
         edit(rle8,
              [&](ImageBytes& b) {
                  const unsigned char jump[] = {0, 2, 1, 9};
                  std::memcpy(&b[rlePixels], jump, 4);
              }),
         "x.bmp", "jumps past the edge of its BMP image"},
        {"a TGA taller than its pixels", edit(tga24, [](ImageBytes& b) { Put16(b, 14, 400); }),
         "x.tga", "of the 4800 bytes of its TGA pixels"},
        {"a TGA colour map past the end",
         edit(tgaMapped, [](ImageBytes& b) { Put16(b, 5, 60000); }), "x.tga",
         "ends inside its TGA colour map"},
        {"a TGA index past its map",
         edit(tgaMapped, [&](ImageBytes& b) { b[tgaPixels + 4 * 3 + 2] = 200; }), "x.tga",
         "names colour 200 of a TGA colour map of entries 0 to 3"},
        {"a TGA packet past its last pixel",
         edit(tgaRun, [&](ImageBytes& b) { b[tgaPixels] = 0xFF; }), "x.tga",
         "TGA packet of 128 pixels past its last pixel"},
        {"a TGA of no pixels", edit(tga24, [](ImageBytes& b) { Put16(b, 12, 0); }), "x.tga",
         "TGA size of 0x4 pixels"},
        {"a TGA of an unknown type", edit(tga24, [](ImageBytes& b) { b[2] = 32; }), "x.tga",
         "TGA of image type 32"},
        {"no image at all", ImageBytes(100, 'x'), "x.png",
         "is not a JPEG, PNG, GIF, BMP or TGA image"},
    };
    for (const Lie& lie : lies) {
        const Decoded decoded = Decode(lie.bytes, lie.name);
        EXPECT_FALSE(decoded.ok) << lie.what;
        EXPECT_NE(decoded.why.find(lie.refusal), std::string::npos)
            << lie.what << ": " << decoded.why;
    }
}

// TGA has no signature: its name or TGA 2.0's footer tells it.
TEST(OwnDecoders, ATgaIsToldByItsNameOrItsFooter) {
    ImageBytes tga = EncodeTga(PatternPicture(3, 2, 6, false), {});
    EXPECT_FALSE(Decode(tga, "noname").ok);
    EXPECT_TRUE(Decode(tga, "ROOF.TGA").ok);
    const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
    tga.insert(tga.end(), footer, footer + sizeof footer);
    EXPECT_TRUE(Decode(tga, "noname").ok);
}

}  // namespace
