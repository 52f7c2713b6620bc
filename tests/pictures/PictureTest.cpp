// The sunrise on the sample scene, rendered by walkthrough-shot and compared with the baselines
// in baselines/ (tests/pictures/update-baselines.sh makes them again). A picture that does not
// match is left in the test's working directory as NAME.actual.png, with NAME.diff.png showing
// where it differs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/pictures/CompareImages.h"
#include "tests/pictures/RunProgram.h"
#include "tools/shot/PngFile.h"

namespace {

class SampleScene : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The baselines are llvmpipe's pictures; a machine with a GPU renders with it too.
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        scratch_ = std::make_unique<ScratchDirectory>();
        const ProgramRun run = RunProgram({MAKE_SAMPLE, scratch_->Path()});
        sampleError_ = run.exitStatus == 0 ? "" : "make-sample failed: " + run.standardError;
    }
    static void TearDownTestSuite() { scratch_.reset(); }

    void SetUp() override { ASSERT_EQ(sampleError_, ""); }

    // Renders the sample scene with `arguments` added and reads the picture.
    static RgbImage Render(const std::string& name, const std::vector<std::string>& arguments) {
        std::vector<std::string> command = {WALKTHROUGH_SHOT, "--model", scratch_->File("kelm.3ds"),
                                            "-o", scratch_->File(name + ".png")};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const ProgramRun run = RunProgram(command);
        EXPECT_EQ(run.exitStatus, 0) << run.standardError;
        RgbImage image;
        std::string error;
        EXPECT_TRUE(ReadPng(scratch_->File(name + ".png"), image, error)) << error;
        return image;
    }

    static void ExpectMatchesBaseline(const RgbImage& actual, const std::string& name) {
        const std::string baselinePath = std::string(PICTURE_BASELINES) + "/" + name + ".png";
        RgbImage baseline;
        std::string error;
        ASSERT_TRUE(ReadPng(baselinePath, baseline, error))
            << error << " (tests/pictures/update-baselines.sh makes the baselines)";
        const PictureDifference difference = ComparePictures(actual, baseline);
        if (Matches(difference)) {
            return;
        }
        WritePng(name + ".actual.png", actual, error);
        WritePng(name + ".diff.png", DifferencePicture(actual, baseline), error);
        ADD_FAILURE() << name << " differs from " << baselinePath << ": "
                      << (difference.sameSize ? "" : "another size; ") << difference.differingPixels
                      << " of " << difference.pixelCount << " pixels off by more than "
                      << kChannelTolerance << "/255 (allowed " << kMaxDifferingFraction * 100
                      << " %), largest difference " << difference.largestDifference << "/255; see "
                      << name << ".actual.png and " << name << ".diff.png in the test's directory";
    }

    static std::unique_ptr<ScratchDirectory> scratch_;
    static std::string sampleError_;
};

std::unique_ptr<ScratchDirectory> SampleScene::scratch_;
std::string SampleScene::sampleError_;

class Sunrise : public SampleScene, public ::testing::WithParamInterface<int> {};

// Frame 1: dark, a reddish light low in the sky, fog at about 100 units. Frame 2000: the light
// grey and high. Frame 4600: the animation over, fog at about 4000 units.
TEST_P(Sunrise, MatchesBaseline) {
    const std::string frames = std::to_string(GetParam());
    const std::string name = "sunrise-" + std::string(4 - frames.size(), '0') + frames;
    ExpectMatchesBaseline(Render(name, {"--frames", frames}), name);
}

INSTANTIATE_TEST_SUITE_P(Frames, Sunrise, ::testing::Values(1, 2000, 4600),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Frame" + std::to_string(info.param);
                         });

TEST_F(SampleScene, WalkingChangesTheViewTheSameWayEveryRun) {
    const RgbImage standing = Render("standing", {"--frames", "200"});
    const RgbImage walked = Render("walked", {"--frames", "200", "--hold", "W:1-200"});
    const RgbImage walkedAgain = Render("walked-again", {"--frames", "200", "--hold", "W:1-200"});
    ASSERT_TRUE(standing.IsWhole());
    ASSERT_TRUE(walked.IsWhole());
    // 40 units forward change whole surfaces, not a few edge pixels.
    EXPECT_GT(ComparePictures(walked, standing).DifferingFraction(), 0.05);
    EXPECT_EQ(walked.pixels, walkedAgain.pixels);
}

}  // namespace
