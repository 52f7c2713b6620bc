// The decoders through the walk-through's own path: the program's own BMP and TGA decoders and
// this build's system decoders behind the seam (libpng, libjpeg-turbo and giflib on Linux, the
// Windows Imaging Component under Wine). Every kind comes out pixel for pixel (a JPEG within its
// loss); cut anywhere, a BMP or TGA is refused with a reason (no kind has bytes it could do
// without) and any other refused or decoded whole; damaged, refused or decoded whole, never read
// past its end (the sanitizer build runs these too); each lie a hostile file tells is refused
// with its reason; the web page's header reader agrees with the decoders.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Platform.h"
#include "platform/common/ImageHeaders.h"
#include "tests/images/ImageTestSupport.h"

namespace {

using platform::ImageCodec;

struct TestImage {
    std::string name;  // of the case, and the file's name: its extension tells the codec
    ImageBytes bytes;
    Picture expected;
    int tolerance = 0;  // in any channel: a JPEG is lossy
};

bool Own(const TestImage& image) {
    const std::string extension = image.name.substr(image.name.size() - 4);
    return extension == ".bmp" || extension == ".tga";
}
ImageCodec CodecOf(const TestImage& image) {
    return image.name.find(".gif") != std::string::npos   ? ImageCodec::kGif
           : image.name.find(".jpg") != std::string::npos ? ImageCodec::kJpeg
                                                          : ImageCodec::kPng;
}
bool Decodable(const TestImage& image) {
    return Own(image) || platform::DecodesImageCodec(CodecOf(image));
}

Picture Grey(Picture picture, bool alpha) {
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
        picture.rgba[i + 1] = picture.rgba[i + 2] = picture.rgba[i];
        picture.rgba[i + 3] = alpha ? picture.rgba[i + 3] : 255;
    }
    return picture;
}

std::vector<TestImage> OwnImages() {
    std::vector<TestImage> images;
    const std::pair<BmpKind, int> bmpKinds[] = {
        {BmpKind::kIndexed1, 2},      {BmpKind::kIndexed4, 16}, {BmpKind::kIndexed8, 200},
        {BmpKind::kRle4, 16},         {BmpKind::kRle8, 200},    {BmpKind::kRgb555, 256},
        {BmpKind::kRgb555Masks, 256}, {BmpKind::kRgb24, 256},   {BmpKind::kRgbx32, 256},
        {BmpKind::kRgba32, 256},      {BmpKind::kCore24, 256}};
    for (const auto& [kind, colours] : bmpKinds) {
        const bool rle = kind == BmpKind::kRle4 || kind == BmpKind::kRle8;
        for (const bool topDown : {false, true}) {
            if (topDown && (rle || kind == BmpKind::kCore24)) {
                continue;
            }
            for (const auto& [width, height] : {std::pair{1, 1}, {13, 5}, {37, 9}}) {
                const Picture picture = rle && width > 1 ? StripedPicture(width, height, colours, 5)
                                                         : PatternPicture(width, height, colours,
                                                                          kind == BmpKind::kRgba32);
                images.push_back({"kind" + std::to_string(int(kind)) +
                                      (topDown ? "-topdown-" : "-") + std::to_string(width) +
                                      ".bmp",
                                  EncodeBmp(picture, {kind, topDown}), picture});
            }
        }
    }
    const std::tuple<TgaKind, int, bool> tgaKinds[] = {
        {TgaKind::kMapped8, 100, false}, {TgaKind::kGrey8, 1, false},
        {TgaKind::kRgb15, 256, false},   {TgaKind::kRgb16, 256, true},
        {TgaKind::kRgb24, 256, false},   {TgaKind::kRgba32, 256, true}};
    for (const auto& [kind, colours, alpha] : tgaKinds) {
        for (int variant = 0; variant < 8; ++variant) {
            const TgaOptions options{kind, (variant & 1) != 0, (variant & 2) != 0,
                                     (variant & 4) != 0, kind == TgaKind::kMapped8 ? 7 : 0};
            Picture picture = variant % 3 == 0 ? StripedPicture(29, 7, std::max(colours, 2), 4)
                                               : PatternPicture(11, 6, colours, alpha);
            if (kind == TgaKind::kGrey8) {
                picture = Grey(picture, false);
            }
            if (kind == TgaKind::kRgb16 && variant % 3 == 0) {
                picture.rgba[3] = 0;  // one pixel with its alpha bit clear
            }
            images.push_back(
                {"kind" + std::to_string(int(kind)) + "-" + std::to_string(variant) + ".tga",
                 EncodeTga(picture, options), picture});
        }
    }
    return images;
}

std::vector<TestImage> SystemImages() {
    std::vector<TestImage> images;
    const std::pair<int, int> pngKinds[] = {{0, 8}, {2, 8},  {3, 8}, {4, 8},
                                            {6, 8}, {2, 16}, {6, 16}};  // colour type, depth
    for (const auto& [type, depth] : pngKinds) {
        for (const bool interlaced : {false, true}) {
            const bool alpha = type == 3 || type == 4 || type == 6;
            Picture picture = PatternPicture(19, 11, type == 3 ? 60 : 256, alpha);
            if (type == 0 || type == 4) {
                picture = Grey(picture, alpha);
            }
            images.push_back({"type" + std::to_string(type) + "-" + std::to_string(depth) +
                                  (interlaced ? "-interlaced" : "") + ".png",
                              EncodePng(picture, {type, depth, interlaced}), picture});
        }
    }
    const GifOptions gifKinds[] = {{},
                                   {0, 0, 0, 0, true},
                                   {0, 0, 0, 0, false, true},
                                   {0, 0, 0, 0, false, false, true},
                                   {30, 20, 7, 5, true, true, true}};
    for (const GifOptions& options : gifKinds) {
        const Picture picture = PatternPicture(17, 13, 40, options.transparency);
        images.push_back({"kind" + std::to_string(images.size()) + ".gif",
                          EncodeGif(picture, options), OnGifScreen(picture, options)});
    }
    // A smooth picture comes back close, opaque.
    Picture smooth{48, 32, std::vector<unsigned char>(4 * 48 * 32)};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 48; ++x) {
            unsigned char* p = smooth.At(x, y);
            p[0] = static_cast<unsigned char>(4 * x), p[1] = static_cast<unsigned char>(6 * y),
            p[2] = 128, p[3] = 255;
        }
    }
    images.push_back({"photo.jpg", EncodeJpeg(smooth, 95), smooth, 12});
    return images;
}

std::vector<TestImage> AllImages() {
    std::vector<TestImage> images = OwnImages();
    for (TestImage& image : SystemImages()) {
        images.push_back(std::move(image));
    }
    return images;
}

int LargestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    }
    return largest;
}

TEST(Decoders, EveryKindComesOutAsWritten) {
    for (const TestImage& image : AllImages()) {
        if (!Decodable(image)) {
            continue;
        }
        const Decoded decoded = Decode(image.bytes, image.name);
        ASSERT_TRUE(decoded.ok) << image.name << ": " << decoded.why;
        EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height),
                  std::make_pair(image.expected.width, image.expected.height))
            << image.name;
        EXPECT_EQ(decoded.image.rgba.size(), image.expected.rgba.size()) << image.name;
        EXPECT_LE(LargestDifference(decoded.image.rgba, BottomRowFirst(image.expected)),
                  image.tolerance)
            << image.name;
    }
}

// Decoded whole: as many pixels as its size says.
void ExpectRefusedOrWhole(const Decoded& decoded, const std::string& what) {
    if (decoded.ok) {
        EXPECT_EQ(decoded.image.rgba.size(),
                  4 * std::size_t(decoded.image.width) * decoded.image.height)
            << what;
    } else {
        EXPECT_FALSE(decoded.why.empty()) << what;
    }
}

// A decoder may fill in what is missing of a JPEG's last rows; the program's own decoders take
// nothing short. The header reader, which stands in for a decoder that cannot tell a size without
// decoding, agrees with the decoders and refuses what is cut short of a header.
TEST(Decoders, CutAnywhereAnImageIsRefusedOrDecodedWhole) {
    for (const TestImage& image : AllImages()) {
        const bool own = Own(image);
        for (std::size_t length = 0; length < image.bytes.size();
             length += own ? 1 : 1 + length / 16) {
            const ImageBytes cut(image.bytes.begin(), image.bytes.begin() + long(length));
            const Decoded decoded = Decode(cut, image.name);
            const std::string what = image.name + " cut to " + std::to_string(length);
            EXPECT_FALSE(own && decoded.ok) << what;
            ExpectRefusedOrWhole(decoded, what);
        }
        if (own) {
            continue;
        }
        int width = 0, height = 0, headerWidth = -1, headerHeight = -1;
        std::string why;
        const ImageCodec codec = CodecOf(image);
        ASSERT_TRUE(platform::ReadImageSize(codec, image.bytes.data(), image.bytes.size(), width,
                                            height, why))
            << image.name << ": " << why;
        ASSERT_TRUE(platform::ReadHeaderSize(codec, image.bytes.data(), image.bytes.size(),
                                             headerWidth, headerHeight, why))
            << image.name << ": " << why;
        EXPECT_EQ(std::make_pair(headerWidth, headerHeight), std::make_pair(width, height))
            << image.name;
        for (std::size_t length = 0; length < 10; ++length) {
            EXPECT_FALSE(
                platform::ReadHeaderSize(codec, image.bytes.data(), length, width, height, why))
                << image.name << " cut to " << length;
        }
    }
}

TEST(Decoders, DamageIsRefusedOrDecodedWhole) {
    std::uint32_t random = 12345;
    const auto next = [&random] {
        random = random * 1664525u + 1013904223u;
        return random >> 8;
    };
    for (const TestImage& image : OwnImages()) {
        for (int trial = 0; trial < 40; ++trial) {
            ImageBytes damaged = image.bytes;
            for (int hits = 1 + trial % 4; hits > 0; --hits) {
                damaged[next() % damaged.size()] = static_cast<unsigned char>(next());
            }
            ExpectRefusedOrWhole(Decode(damaged, image.name), image.name);
        }
    }
}

// Every decoder's image reduced to the side asked for comes out at the reduced size and close
// to the box average of the whole image (the decoder may reduce part of the way itself).
TEST(Decoders, ImagesToBeReducedComeOutAtTheReducedSize) {
    Picture flat{100, 60, std::vector<unsigned char>(4 * 100 * 60)};
    for (std::size_t i = 0; i < flat.rgba.size(); i += 4) {
        flat.rgba[i] = 200, flat.rgba[i + 1] = 40, flat.rgba[i + 2] = 90, flat.rgba[i + 3] = 255;
    }
    const TestImage images[] = {{"flat.png", EncodePng(flat, {2, 8, false}), flat},
                                {"flat.gif", EncodeGif(flat, {}), flat},
                                {"flat.jpg", EncodeJpeg(flat, 90), flat},
                                {"flat.bmp", EncodeBmp(flat, {}), flat}};
    for (const TestImage& image : images) {
        if (!Decodable(image)) {
            continue;
        }
        const Decoded decoded = Decode(image.bytes, image.name, 16);
        ASSERT_TRUE(decoded.ok) << image.name << ": " << decoded.why;
        // 100x60 by 8: 13x8.
        EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height), std::make_pair(13, 8))
            << image.name;
        for (std::size_t i = 0; i < decoded.image.rgba.size(); i += 4) {
            EXPECT_LE(std::abs(decoded.image.rgba[i] - 200) +
                          std::abs(decoded.image.rgba[i + 1] - 40) +
                          std::abs(decoded.image.rgba[i + 2] - 90),
                      6)
                << image.name;
        }
    }
}

// A file to tell a lie with, and its name.
struct Honest {
    ImageBytes bytes;
    const char* name;
};
// The file with `patch` written at `at` (and cut to `length`, unless 0).
struct Lie {
    const Honest& file;
    std::size_t at;
    ImageBytes patch;
    const char* refusal;  // a part of the reason given
    std::size_t length = 0;
};
ImageBytes LittleEndian(std::uint32_t value, int bytes) {
    ImageBytes out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    return out;
}

// What a hostile file can claim that is not so, each refused with a reason that says it.
TEST(Decoders, EachLieIsRefusedWithItsReason) {
    const Picture small = PatternPicture(4, 4, 4, false);
    const Honest bmp24{EncodeBmp(small, {BmpKind::kRgb24}), "x.bmp"};
    const Honest bmp8{EncodeBmp(small, {BmpKind::kIndexed8}), "x.bmp"};
    const Honest rle8{EncodeBmp(small, {BmpKind::kRle8}), "x.bmp"};
    const Honest tga24{EncodeTga(small, {TgaKind::kRgb24}), "x.tga"};
    const Honest tgaMapped{EncodeTga(small, {TgaKind::kMapped8}), "x.tga"};
    const Honest tgaRun{EncodeTga(StripedPicture(4, 4, 1, 4), {TgaKind::kRgb24, true}), "x.tga"};
    const Honest noImage{ImageBytes(100, 'x'), "x.png"};
    const std::size_t tgaPixels = 18 + 3;  // the header, the identification field
    const std::size_t bmp8Pixels = BmpPixelOffset(bmp8.bytes), rle = BmpPixelOffset(rle8.bytes);
    const Lie lies[] = {
        {bmp24, 22, LittleEndian(400, 4), "of the 4800 bytes of its BMP pixels"},
        {bmp24, 18, LittleEndian(0x7FFFFFFF, 4), "has a BMP size of 2147483647x4"},
        {bmp24, 10, LittleEndian(5000, 4), "pixels at 5000, past its end"},
        {bmp24, 14, LittleEndian(20, 4), "BMP header of 20 bytes"},
        {bmp8, 46, LittleEndian(256, 4), "ends inside its BMP palette of 256 colours", 154},
        {bmp8, bmp8Pixels + 5, {9}, "names colour 9 of a BMP palette of 4"},
        {rle8, rle, {200, 0}, "BMP run of 200 pixels past the end of row 0"},
        {rle8, rle, {0, 9}, "BMP run of 9 pixels past the end of row 0"},  // a literal run
        {rle8, rle, {0, 2, 1, 9}, "jumps past the edge of its BMP image"},
        {tga24, 14, LittleEndian(400, 2), "of the 4800 bytes of its TGA pixels"},
        {tgaMapped, 5, LittleEndian(60000, 2), "ends inside its TGA colour map"},
        {tgaMapped,
         tgaPixels + 14,
         {200},
         "names colour 200 of a TGA colour map of entries 0 to 3"},
        {tgaRun, tgaPixels, {0xFF}, "TGA packet of 128 pixels past its last pixel"},
        {tga24, 12, LittleEndian(0, 2), "TGA size of 0x4 pixels"},
        {tga24, 2, {32}, "TGA of image type 32"},
        {noImage, 0, {}, "is not a JPEG, PNG, GIF, BMP or TGA image"},
    };
    for (const Lie& lie : lies) {
        ImageBytes bytes = lie.file.bytes;
        std::copy(lie.patch.begin(), lie.patch.end(), bytes.begin() + long(lie.at));
        bytes.resize(lie.length != 0 ? lie.length : bytes.size());
        const Decoded decoded = Decode(bytes, lie.file.name);
        EXPECT_FALSE(decoded.ok) << lie.refusal;
        EXPECT_NE(decoded.why.find(lie.refusal), std::string::npos) << decoded.why;
    }
}

// TGA has no signature: its name or TGA 2.0's footer tells it.
TEST(Decoders, ATgaIsToldByItsNameOrItsFooter) {
    ImageBytes tga = EncodeTga(PatternPicture(3, 2, 6, false), {});
    EXPECT_FALSE(Decode(tga, "noname").ok);
    EXPECT_TRUE(Decode(tga, "ROOF.TGA").ok);
    const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
    tga.insert(tga.end(), footer, footer + sizeof footer);
    EXPECT_TRUE(Decode(tga, "noname").ok);
}

}  // namespace
