#include "tests/pictures/CompareImages.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/pictures/RunProgram.h"
#include "tools/shot/PngFile.h"

namespace {

RgbImage Filled(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.ByteCount());
    for (std::size_t at = 0; at < image.pixels.size(); at += 3) {
        image.pixels[at] = r;
        image.pixels[at + 1] = g;
        image.pixels[at + 2] = b;
    }
    return image;
}

// Changes the green channel of the first `count` pixels by `amount`.
RgbImage WithChangedPixels(RgbImage image, int count, int amount) {
    for (int i = 0; i < count; ++i) {
        image.pixels[static_cast<std::size_t>(i) * 3 + 1] += amount;
    }
    return image;
}

TEST(ComparePictures, ToleranceAndFractionDecide) {
    const RgbImage baseline = Filled(100, 100, 10, 100, 200);  // 10,000 pixels
    const struct {
        const char* what;
        int changedPixels;
        int amount;
        long long differing;
        bool matches;
    } kCases[] = {
        {"identical", 0, 0, 0, true},
        {"every pixel off by the tolerance", 10000, 2, 0, true},
        {"edge pixels: 0.5 % beyond it", 50, 3, 50, true},
        {"a surface: 0.51 % beyond it", 51, 3, 51, false},
        {"a whole picture a little brighter", 10000, 3, 10000, false},
    };
    for (const auto& c : kCases) {
        const RgbImage actual = WithChangedPixels(baseline, c.changedPixels, c.amount);
        const PictureDifference difference = ComparePictures(actual, baseline);
        EXPECT_TRUE(difference.sameSize) << c.what;
        EXPECT_EQ(difference.pixelCount, 10000) << c.what;
        EXPECT_EQ(difference.differingPixels, c.differing) << c.what;
        EXPECT_EQ(difference.largestDifference, c.amount) << c.what;
        EXPECT_EQ(Matches(difference), c.matches) << c.what;
    }
}

TEST(ComparePictures, DifferentSizesNeverMatch) {
    const PictureDifference difference =
        ComparePictures(Filled(4, 3, 0, 0, 0), Filled(3, 4, 0, 0, 0));
    EXPECT_FALSE(difference.sameSize);
    EXPECT_FALSE(Matches(difference));
    EXPECT_FALSE(Matches(ComparePictures(RgbImage{}, RgbImage{})));
}

TEST(PngFile, WritesAndReadsBackEveryByte) {
    ScratchDirectory scratch;
    RgbImage image = Filled(5, 3, 0, 0, 0);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint8_t>(i * 7);
    }
    std::string error;
    ASSERT_TRUE(WritePng(scratch.File("a.png"), image, error)) << error;
    RgbImage read;
    ASSERT_TRUE(ReadPng(scratch.File("a.png"), read, error)) << error;
    EXPECT_EQ(read.width, 5);
    EXPECT_EQ(read.height, 3);
    EXPECT_EQ(read.pixels, image.pixels);
}

TEST(PngFile, ReportsWhatItCannotDo) {
    ScratchDirectory scratch;
    std::ofstream(scratch.File("not.png")) << "not a picture";
    std::string error;
    RgbImage read;
    EXPECT_FALSE(ReadPng(scratch.File("not.png"), read, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadPng(scratch.File("missing.png"), read, error));
    EXPECT_FALSE(WritePng(scratch.File("empty.png"), RgbImage{}, error));
    EXPECT_FALSE(WritePng(scratch.File("no/such/dir.png"), Filled(1, 1, 0, 0, 0), error));
}

}  // namespace
