// The sunrise on the sample scene, rendered by walkthrough-shot with llvmpipe and compared with
// the baselines in baselines/ (scripts/update-baselines.sh makes them again), and the same for
// the textured sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/common/PngFile.h"
#include "tests/pictures/RunProgram.h"

namespace {

// Mesa versions, drivers and 16- or 24-bit visuals differ by a step or two in a channel.
// Shading, light, fog or camera faults change whole surfaces; 0.5 % of the pixels leaves room
// for triangle edges, which rasterisers may cover a pixel apart.
constexpr int kChannelTolerance = 2;
constexpr double kMaxDifferingFraction = 0.005;

// The share of pixels with a channel off by more than the tolerance; 1 for another size.
double DifferingFraction(const RgbImage& actual, const RgbImage& expected) {
    if (actual.width != expected.width || actual.pixels.size() != expected.pixels.size()) {
        return 1.0;
    }
    std::size_t differing = 0;
    for (std::size_t at = 0; at < actual.pixels.size(); ++at) {
        if (std::abs(actual.pixels[at] - expected.pixels[at]) > kChannelTolerance) {
            ++differing;
            at += 2 - at % 3;  // on to the next pixel
        }
    }
    return 3.0 * static_cast<double>(differing) / static_cast<double>(actual.pixels.size());
}

struct Picture {
    const char* name;   // of the baseline, NAME-NNNN.png
    const char* model;  // walkthrough-shot --model
    int frames;
    const char* size;  // textured pictures are kept small: their baselines compress poorly
};

// Each picture rendered stays in the test's working directory as NAME-NNNN.png.
std::string FileName(const Picture& picture) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04d", picture.name, picture.frames);
    return name;
}

void PrintTo(const Picture& picture, std::ostream* out) {
    *out << FileName(picture);
}

class Sunrise : public ::testing::TestWithParam<Picture> {};

// Frame 1: dark, a reddish light low in the sky, fog at about 100 units. Frame 2000: the light
// grey and high. Frame 4600: the animation over, fog at about 4000 units. The textured sample
// is drawn with its materials: textures, glass, smooth crowns and the two-sided banner.
TEST_P(Sunrise, MatchesBaseline) {
    const std::string name = FileName(GetParam());
    const ProgramRun run =
        RunProgram(name, WALKTHROUGH_SHOT " --model " + std::string(GetParam().model) +
                             " --view original --frames " + std::to_string(GetParam().frames) +
                             " --size " + GetParam().size + " -o " + name + ".png");
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    RgbImage actual, baseline;
    std::string error;
    ASSERT_TRUE(ReadPng(name + ".png", actual, error)) << error;
    ASSERT_TRUE(ReadPng(PICTURE_BASELINES "/" + name + ".png", baseline, error)) << error;
    EXPECT_LE(DifferingFraction(actual, baseline), kMaxDifferingFraction)
        << "pixels more than " << kChannelTolerance << "/255 off; see " << name << ".png";
}

constexpr const char* kSample = SAMPLE_DIR "/kelm.3ds";
constexpr const char* kTexturedSample = TEXTURED_SAMPLE_DIR "/kelm.3ds";
const Picture kPictures[] = {
    {"sunrise", kSample, 1, "800x600"},
    {"sunrise", kSample, 2000, "800x600"},
    {"sunrise", kSample, 4600, "800x600"},
    {"textured", kTexturedSample, 1, "400x300"},
    {"textured", kTexturedSample, 4600, "400x300"},
};

INSTANTIATE_TEST_SUITE_P(Frames, Sunrise, ::testing::ValuesIn(kPictures), [](const auto& info) {
    return std::string(info.param.name) + "_" + std::to_string(info.param.frames);
});

}  // namespace
