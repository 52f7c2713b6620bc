// The sunrise on the sample scene, rendered by walkthrough-shot with llvmpipe and compared with
// the baselines in baselines/ (scripts/update-baselines.sh makes them again). The picture
// rendered stays in the test's working directory as sunrise-NNNN.png.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/pictures/RunProgram.h"
#include "tools/shot/PngFile.h"

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

class Sunrise : public ::testing::TestWithParam<const char*> {};

// Frame 1: dark, a reddish light low in the sky, fog at about 100 units. Frame 2000: the light
// grey and high. Frame 4600: the animation over, fog at about 4000 units.
TEST_P(Sunrise, MatchesBaseline) {
    const std::string name = std::string("sunrise-") + GetParam();
    const ProgramRun run = RunProgram(
        name, WALKTHROUGH_SHOT " --model " SAMPLE_DIR "/kelm.3ds --view original --frames " +
                  std::to_string(std::atoi(GetParam())) + " -o " + name + ".png");
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    RgbImage actual, baseline;
    std::string error;
    ASSERT_TRUE(ReadPng(name + ".png", actual, error)) << error;
    ASSERT_TRUE(ReadPng(PICTURE_BASELINES "/" + name + ".png", baseline, error)) << error;
    EXPECT_LE(DifferingFraction(actual, baseline), kMaxDifferingFraction)
        << "pixels more than " << kChannelTolerance << "/255 off; see " << name << ".png";
}

INSTANTIATE_TEST_SUITE_P(Frames, Sunrise, ::testing::Values("0001", "2000", "4600"),
                         [](const auto& info) { return std::string("Frame") + info.param; });

}  // namespace
