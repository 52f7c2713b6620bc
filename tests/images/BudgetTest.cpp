// The budget decided from each header and the reduction to the side drawn: what is let in,
// what is refused and why, and the reduced pixels as box averages of the decoded ones.
#include <gtest/gtest.h>

#include "images/RowReducer.h"
#include "tests/images/ImageTestSupport.h"

namespace {

// The box average of each factor x factor block (fewer at the edges), rounded: what the
// reducer must give, the bottom row first.
std::vector<unsigned char> BoxAverage(const Picture& picture, int factor) {
    const int width = ReducedSide(picture.width, factor);
    const int height = ReducedSide(picture.height, factor);
    std::vector<unsigned char> out;
    for (int row = height - 1; row >= 0; --row) {
        for (int column = 0; column < width; ++column) {
            unsigned sums[4] = {};
            unsigned count = 0;
            for (int y = row * factor; y < std::min(picture.height, (row + 1) * factor); ++y) {
                for (int x = column * factor; x < std::min(picture.width, (column + 1) * factor);
                     ++x) {
                    for (int c = 0; c < 4; ++c) {
                        sums[c] += picture.At(x, y)[c];
                    }
                    ++count;
                }
            }
            for (int c = 0; c < 4; ++c) {
                out.push_back(static_cast<unsigned char>((sums[c] + count / 2) / count));
            }
        }
    }
    return out;
}

// Any size, any wanted side, rows top down or bottom up: the box average, within the side.
TEST(Reduction, ImagesComeOutAsBoxAveragesWithinTheWantedSide) {
    for (const int wanted : {1, 3, 8, 16, 64}) {
        for (const auto& [width, height] : {std::pair{1, 1}, {17, 5}, {64, 64}, {33, 70}}) {
            const Picture picture = PatternPicture(width, height, 97, true);
            const int factor = ReductionFactor(width, height, wanted);
            EXPECT_LE(std::max(ReducedSide(width, factor), ReducedSide(height, factor)), wanted);
            EXPECT_TRUE(factor == 1 || std::max(ReducedSide(width, factor / 2),
                                                ReducedSide(height, factor / 2)) > wanted);
            for (const bool bottomUp : {false, true}) {
                ImageBudget budget({std::uint64_t{1} << 20, 1 << 14, wanted, 1u << 30, 1u << 30});
                AdmittedImage admitted;
                std::string why;
                ASSERT_TRUE(budget.Admit(width, height, admitted, why)) << why;
                RowReducer reducer(admitted);
                ASSERT_TRUE(bottomUp ? reducer.BeginRowsBottomUp(width, height)
                                     : reducer.BeginRows(width, height));
                for (int i = 0; i < height; ++i) {
                    ASSERT_TRUE(reducer.TakeRow(picture.At(0, bottomUp ? height - 1 - i : i)));
                }
                TextureImage image;
                ASSERT_TRUE(reducer.Finish(image, why)) << why;
                EXPECT_TRUE(image.rgba == BoxAverage(picture, factor))
                    << width << "x" << height << " to " << wanted << (bottomUp ? " bottom up" : "");
            }
        }
    }
}

// A decoder that gives another size than the header said, or too few or too many rows, is
// refused; one that reduced part of the way itself is taken.
TEST(Reduction, RowsThatBreakTheHeadersWordAreRefused) {
    ImageBudget budget({std::uint64_t{1} << 20, 1 << 14, 8, 1u << 30, 1u << 30});
    AdmittedImage admitted;
    std::string why;
    ASSERT_TRUE(budget.Admit(100, 60, admitted, why));  // by 16: 7x4
    const std::vector<unsigned char> row(4 * 100, 77);
    const auto run = [&](int width, int height, int rows) {
        RowReducer reducer(admitted);
        TextureImage image;
        std::string reason;
        if (!reducer.BeginRows(width, height)) {
            return false;
        }
        for (int i = 0; i < rows; ++i) {
            if (!reducer.TakeRow(row.data())) {
                return false;
            }
        }
        return reducer.Finish(image, reason) && image.width == 7 && image.height == 4;
    };
    EXPECT_TRUE(run(100, 60, 60));
    EXPECT_TRUE(run(25, 15, 15));  // reduced by 4 already
    EXPECT_FALSE(run(101, 60, 60));
    EXPECT_FALSE(run(100, 60, 59));
    EXPECT_FALSE(run(100, 60, 61));
}

// Each image against the per-image limits, then against what the model has left.
TEST(Budget, RefusesOverLimitsAndOverTheModelsTotals) {
    TextureLimits limits;
    limits.wantedSide = 1024;
    limits.maxModelTexels = 3u << 20;         // three images of 1024x1024 as drawn
    limits.maxModelSourcePixels = 40u << 20;  // two and a half of 4096x4096 as decoded
    ImageBudget budget(limits);
    const struct {
        int width, height;
        const char* refusal;  // null: admitted
    } images[] = {
        {8192, 8192, "is 8192x8192 pixels, more than the 16,777,216 an image may have"},
        {16385, 16, "is 16385x16 pixels, more than 16384 on a side"},
        {0, 7, "has no pixels (0x7)"},
        {4096, 4096, nullptr},   // reduced by 4 to 1024x1024
        {16384, 1024, nullptr},  // 16,777,216 pixels in another shape: to 1024x64
        {4096, 4096, "would bring the pixels decoded for the model's textures past 41,943,040"},
        {1024, 1024, nullptr},
        {1000, 1000, "would bring the model's textures past 3,145,728 texels"},
        {500, 500, nullptr},  // a smaller one still fits
    };
    for (const auto& image : images) {
        AdmittedImage admitted;
        std::string why;
        const bool admittedIt = budget.Admit(image.width, image.height, admitted, why);
        EXPECT_EQ(admittedIt, image.refusal == nullptr) << image.width << "x" << image.height;
        if (image.refusal != nullptr) {
            EXPECT_EQ(why, image.refusal);
        } else {
            EXPECT_LE(std::max(admitted.reducedWidth, admitted.reducedHeight), 1024);
        }
    }
    EXPECT_EQ(TextureSideForPicture(256, 256), 256);
    EXPECT_EQ(TextureSideForPicture(800, 600), 1024);
    EXPECT_EQ(TextureSideForPicture(1, 1), 1);
}

}  // namespace
