// A real model shot at frame 4500 with the view a named model gets, from outside it: the model
// covers at least a third of the picture's width or height. (Models of any size, place and
// camera: the fitted view's properties and the GL calls that place a model, in the unit tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/common/PngFile.h"
#include "tests/pictures/RunProgram.h"

namespace {

// The clear colour (0, 0, 0.3), which fog leaves alone; drivers round its blue to 76 or 77.
bool IsSky(const std::uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && (p[2] == 76 || p[2] == 77);
}

const std::uint8_t* Pixel(const RgbImage& picture, int x, int y) {
    return &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 3];
}

// The shares of the picture's width and height between its outermost model pixels, and its
// count of sky pixels.
struct Coverage {
    double width, height;
    int skyPixels;
};
Coverage MeasureModel(const RgbImage& picture) {
    int left = picture.width, right = -1, top = picture.height, bottom = -1, sky = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (IsSky(Pixel(picture, x, y))) {
                ++sky;
            } else {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    return {std::max(0, right - left + 1) / double(picture.width),
            std::max(0, bottom - top + 1) / double(picture.height), sky};
}

// Frame 4500 (the sun up, the fog far) of `model` at 160x120, run as a user runs it, saying
// `said` on standard error.
void Shoot(const std::string& name, const std::string& model, const std::string& options,
           RgbImage& picture, const std::string& said = "") {
    const ProgramRun run =
        RunProgram(name, WALKTHROUGH_SHOT " --model " + model + options +
                             " --frames 4500 --size 160x120 -o " + name + ".png");
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(run.standardError, said);
    std::string error;
    ASSERT_TRUE(ReadPng(name + ".png", picture, error)) << error;
    ASSERT_TRUE(picture.width == 160 && picture.height == 120 && picture.IsWhole());
}

// assimp's test1.3ds stands around the walk-through's own start: a grey wall fills the view.
// The view a named model gets stands outside it, with sky in every corner. Its floor faces along
// y, centred on x and z: it looks made with y up, and the fitted view says so.
TEST(FittedView, ARealModelThatSurroundsTheOriginalStartIsSeenFromOutside) {
    const std::string model = "/usr/share/assimp/models/3DS/test1.3ds";
    if (!std::filesystem::exists(model)) {
        GTEST_SKIP() << model << " is not here (Debian's assimp-testmodels)";
    }
    RgbImage inside, outside;
    ASSERT_NO_FATAL_FAILURE(Shoot("test1-original", model, " --view original", inside));
    ASSERT_NO_FATAL_FAILURE(
        Shoot("test1-auto", model, "", outside,
              "walkthrough-shot: " + model + " looks made with y up; --up y stands it upright\n"));
    EXPECT_EQ(MeasureModel(inside).skyPixels, 0);
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_TRUE(IsSky(Pixel(outside, corner % 2 * 159, corner / 2 * 119))) << corner;
    }
    const Coverage seen = MeasureModel(outside);
    EXPECT_GE(std::max(seen.width, seen.height), 1.0 / 3);
    // --up y stands it upright (the exact turn is UpAxis's in the unit tests): no more warning.
    RgbImage upright;
    ASSERT_NO_FATAL_FAILURE(Shoot("test1-upright", model, " --up y", upright));
    EXPECT_FALSE(upright.pixels == outside.pixels);
}

}  // namespace
