// The system's decoders behind the seam (this build's: libpng, libjpeg-turbo and giflib on
// Linux, the Windows Imaging Component under Wine), through the walk-through's own path: each
// PNG and GIF kind comes out pixel for pixel, JPEG within its loss, every truncation is refused
// or decoded whole, and a JPEG to be reduced comes out at the reduced size.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Platform.h"
#include "platform/common/ImageHeaders.h"
#include "tests/images/ImageTestSupport.h"

namespace {

Picture Grey(Picture picture, bool alpha) {
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
        picture.rgba[i + 1] = picture.rgba[i + 2] = picture.rgba[i];
        picture.rgba[i + 3] = alpha ? picture.rgba[i + 3] : 255;
    }
    return picture;
}

struct SystemFile {
    std::string name;
    ImageBytes bytes;
    Picture expected;
};

std::vector<SystemFile> PngAndGifFiles() {
    std::vector<SystemFile> files;
    const struct {
        int type, depth;
        const char* name;
    } pngKinds[] = {{0, 8, "grey"}, {2, 8, "rgb"},    {3, 8, "palette"}, {4, 8, "greyalpha"},
                    {6, 8, "rgba"}, {2, 16, "rgb16"}, {6, 16, "rgba16"}};
    for (const auto& kind : pngKinds) {
        for (const bool interlaced : {false, true}) {
            const bool alpha = kind.type == 3 || kind.type == 4 || kind.type == 6;
            Picture picture = PatternPicture(19, 11, kind.type == 3 ? 60 : 256, alpha);
            if (kind.type == 0 || kind.type == 4) {
                picture = Grey(picture, alpha);
            }
            files.push_back({std::string(kind.name) + (interlaced ? "-interlaced" : "") + ".png",
                             EncodePng(picture, {kind.type, kind.depth, interlaced}), picture});
        }
    }
    const GifOptions gifKinds[] = {{},
                                   {0, 0, 0, 0, true},
                                   {0, 0, 0, 0, false, true},
                                   {0, 0, 0, 0, false, false, true},
                                   {30, 20, 7, 5, true, true, true}};
    int n = 0;
    for (const GifOptions& options : gifKinds) {
        const Picture picture = PatternPicture(17, 13, 40, options.transparency);
        files.push_back({"kind" + std::to_string(n++) + ".gif", EncodeGif(picture, options),
                         OnGifScreen(picture, options)});
    }
    return files;
}

bool Decodes(platform::ImageCodec codec) {
    return platform::DecodesImageCodec(codec);
}

TEST(SystemDecoders, EveryPngAndGifKindComesOutPixelForPixel) {
    for (const SystemFile& file : PngAndGifFiles()) {
        const bool gif = file.name.find(".gif") != std::string::npos;
        if (!Decodes(gif ? platform::ImageCodec::kGif : platform::ImageCodec::kPng)) {
            continue;
        }
        const Decoded decoded = Decode(file.bytes, file.name);
        ASSERT_TRUE(decoded.ok) << file.name << ": " << decoded.why;
        EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height),
                  std::make_pair(file.expected.width, file.expected.height))
            << file.name;
        EXPECT_TRUE(decoded.image.rgba == BottomRowFirst(file.expected)) << file.name;
    }
}

// The largest difference of any channel, over pictures of one size.
int LargestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    }
    return largest;
}

// A JPEG is lossy: a smooth picture comes back close, opaque.
TEST(SystemDecoders, AJpegComesOutCloseAndOpaque) {
    if (!Decodes(platform::ImageCodec::kJpeg)) {
        GTEST_SKIP() << "no JPEG decoder in this build";
    }
    Picture smooth{48, 32, std::vector<unsigned char>(4 * 48 * 32)};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 48; ++x) {
            unsigned char* p = smooth.At(x, y);
            p[0] = static_cast<unsigned char>(4 * x), p[1] = static_cast<unsigned char>(6 * y),
            p[2] = 128, p[3] = 255;
        }
    }
    const Decoded decoded = Decode(EncodeJpeg(smooth, 95), "photo.jpg");
    ASSERT_TRUE(decoded.ok) << decoded.why;
    EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height), std::make_pair(48, 32));
    EXPECT_LE(LargestDifference(decoded.image.rgba, BottomRowFirst(smooth)), 12);
}

// Every decoder's image reduced to the side asked for comes out at the reduced size and close
// to the box average of the whole image (the decoder may reduce part of the way itself).
TEST(SystemDecoders, ImagesToBeReducedComeOutAtTheReducedSize) {
    Picture flat{100, 60, std::vector<unsigned char>(4 * 100 * 60)};
    for (std::size_t i = 0; i < flat.rgba.size(); i += 4) {
        flat.rgba[i] = 200, flat.rgba[i + 1] = 40, flat.rgba[i + 2] = 90, flat.rgba[i + 3] = 255;
    }
    const std::vector<std::pair<platform::ImageCodec, SystemFile>> files = {
        {platform::ImageCodec::kPng, {"flat.png", EncodePng(flat, {2, 8, false}), flat}},
        {platform::ImageCodec::kGif, {"flat.gif", EncodeGif(flat, {}), flat}},
        {platform::ImageCodec::kJpeg, {"flat.jpg", EncodeJpeg(flat, 90), flat}}};
    for (const auto& [codec, file] : files) {
        if (!Decodes(codec)) {
            continue;
        }
        const Decoded decoded = Decode(file.bytes, file.name, 16);
        ASSERT_TRUE(decoded.ok) << file.name << ": " << decoded.why;
        // 100x60 by 8: 13x8.
        EXPECT_EQ(std::make_pair(decoded.image.width, decoded.image.height), std::make_pair(13, 8))
            << file.name;
        for (std::size_t i = 0; i < decoded.image.rgba.size(); i += 4) {
            EXPECT_LE(std::abs(decoded.image.rgba[i] - 200) +
                          std::abs(decoded.image.rgba[i + 1] - 40) +
                          std::abs(decoded.image.rgba[i + 2] - 90),
                      6)
                << file.name;
        }
    }
}

// Cut anywhere, a file is refused with a reason or decoded whole at its size: a decoder may
// fill in what is missing of a JPEG's last rows.
TEST(SystemDecoders, TruncationsAreRefusedOrDecodedWhole) {
    std::vector<SystemFile> files = PngAndGifFiles();
    const Picture picture = PatternPicture(24, 16, 256, false);
    files.push_back({"photo.jpg", EncodeJpeg(picture, 80), picture});
    for (const SystemFile& file : files) {
        for (std::size_t length = 0; length < file.bytes.size(); length += 1 + length / 16) {
            const ImageBytes cut(file.bytes.begin(), file.bytes.begin() + long(length));
            const Decoded decoded = Decode(cut, file.name);
            if (decoded.ok) {
                EXPECT_EQ(decoded.image.rgba.size(),
                          4 * std::size_t(decoded.image.width) * decoded.image.height);
            } else {
                EXPECT_FALSE(decoded.why.empty()) << file.name << " cut to " << length;
            }
        }
    }
}

// The web page's header reader, which stands in for a decoder that cannot tell a size without
// decoding, agrees with this build's decoders, and refuses what is cut short of a header.
TEST(SystemDecoders, TheHeaderReaderAgreesWithTheDecoders) {
    std::vector<SystemFile> files = PngAndGifFiles();
    const Picture picture = PatternPicture(24, 16, 256, false);
    files.push_back({"photo.jpg", EncodeJpeg(picture, 80), picture});
    for (const SystemFile& file : files) {
        const platform::ImageCodec codec =
            file.name.find(".gif") != std::string::npos   ? platform::ImageCodec::kGif
            : file.name.find(".jpg") != std::string::npos ? platform::ImageCodec::kJpeg
                                                          : platform::ImageCodec::kPng;
        int width = 0, height = 0, headerWidth = -1, headerHeight = -1;
        std::string why;
        ASSERT_TRUE(platform::ReadImageSize(codec, file.bytes.data(), file.bytes.size(), width,
                                            height, why))
            << file.name << ": " << why;
        ASSERT_TRUE(platform::ReadHeaderSize(codec, file.bytes.data(), file.bytes.size(),
                                             headerWidth, headerHeight, why))
            << file.name << ": " << why;
        EXPECT_EQ(std::make_pair(headerWidth, headerHeight), std::make_pair(width, height))
            << file.name;
        for (std::size_t length = 0; length < 10; ++length) {
            EXPECT_FALSE(
                platform::ReadHeaderSize(codec, file.bytes.data(), length, width, height, why))
                << file.name << " cut to " << length;
        }
    }
}

}  // namespace
