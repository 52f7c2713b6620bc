// walkthrough-shot as a user runs it, once writing a picture and once failing: the exit
// statuses and the output streams. The options are pinned in ShotOptionsTest.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/shot/PngFile.h"

namespace {

// The red of the wall's material, or the sky: the clear colour (0, 0, 0.3), whose blue drivers
// round to 76 or 77.
bool IsWall(const RgbImage& image, int x, int y) {
    const std::uint8_t* pixel = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
    return pixel[0] > 0 && pixel[1] == 0 && pixel[2] == 0;
}
bool IsSky(const RgbImage& image, int x, int y) {
    const std::uint8_t* pixel = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
    return pixel[0] == 0 && pixel[1] == 0 && (pixel[2] == 76 || pixel[2] == 77);
}

TEST(ShotTool, ShowsTheModelTheWayAWindowWould) {
    ScratchDirectory scratch;
    // One red wall across the view, 20 units ahead of the start pose (eye at y 15, height 3,
    // looking along -y), from eye height up: it fills the upper half of the picture.
    ChunkWriter w;
    w.BeginModel();
    w.Material("Brick", 255, 0, 0);
    w.MeshObject({"Wall",
                  {-1000, -5, 3, 1000, -5, 3, 1000, -5, 1000, -1000, -5, 1000},
                  {0, 1, 2, 0, 2, 3},
                  {"Brick"}});
    w.EndModel();
    ASSERT_TRUE(w.WriteFile(scratch.File("wall.3ds")));

    const ProgramRun run =
        RunProgram({WALKTHROUGH_SHOT, "--model", scratch.File("wall.3ds"), "--size", "64x48",
                    "--frames", "3", "--bench", "-o", scratch.File("wall.png")});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(run.standardError, "");
    EXPECT_EQ(run.standardOutput.rfind("frames 3\nmedian ", 0), 0u) << run.standardOutput;
    EXPECT_NE(run.standardOutput.find(" ms per frame\n"), std::string::npos) << run.standardOutput;
    RgbImage picture;
    std::string error;
    ASSERT_TRUE(ReadPng(scratch.File("wall.png"), picture, error)) << error;
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 48);
    // The wall above the horizon, in the file's first rows; the sky below it.
    EXPECT_TRUE(IsWall(picture, 32, 2));
    EXPECT_TRUE(IsSky(picture, 32, 45));
}

TEST(ShotTool, AModelThatCannotBeOpenedIsAFailureAndWritesNothing) {
    ScratchDirectory scratch;
    const std::string model = scratch.File("missing.3ds");
    const ProgramRun run =
        RunProgram({WALKTHROUGH_SHOT, "--model", model, "-o", scratch.File("none.png")});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_EQ(run.standardError.rfind("walkthrough-shot: cannot open " + model + ": ", 0), 0u)
        << run.standardError;
    EXPECT_FALSE(std::filesystem::exists(scratch.File("none.png")));
}

}  // namespace
