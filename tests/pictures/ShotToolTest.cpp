// walkthrough-shot as a user runs it: exit statuses, messages and the picture it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/shot/PngFile.h"

namespace {

// The empty sky: the frame's clear colour (0, 0, 0.3), whose blue drivers round to 76 or 77.
bool IsSky(const std::vector<std::uint8_t>& pixel) {
    return pixel[0] == 0 && pixel[1] == 0 && (pixel[2] == 76 || pixel[2] == 77);
}

// One red wall across the view, 20 units ahead of the start pose (eye at y 15, height 3,
// looking along -y), from eye height up: it fills the upper half of the picture.
void WriteWallModel(const std::string& path) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.MasterScale(1.0f);
    w.Material("Brick", 255, 0, 0);
    w.Begin(0x4000);
    w.String("Wall");
    w.Begin(0x4100);
    w.VertexList({-1000, -5, 3, 1000, -5, 3, 1000, -5, 1000, -1000, -5, 1000});
    w.Begin(0x4120);
    w.FaceRecords({0, 1, 2, 0, 2, 3});
    w.MaterialGroup("Brick", {0, 1});
    w.End();
    w.End();
    w.End();
    w.End();
    w.End();
    ASSERT_TRUE(w.WriteFile(path));
}

std::vector<std::uint8_t> Pixel(const RgbImage& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

class ShotTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch_.Path().empty());
        WriteWallModel(Model());
    }

    ProgramRun Shot(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), WALKTHROUGH_SHOT);
        return RunProgram(arguments);
    }
    RgbImage ReadOutput(const std::string& name) {
        RgbImage image;
        std::string error;
        EXPECT_TRUE(ReadPng(scratch_.File(name), image, error)) << error;
        return image;
    }
    std::string Model() const { return scratch_.File("wall.3ds"); }
    std::string Output(const std::string& name) const { return scratch_.File(name); }

    ScratchDirectory scratch_;
};

TEST_F(ShotTool, ShowsTheModelTheWayAWindowWould) {
    const ProgramRun run = Shot({"--model", Model(), "--size", "64x48", "-o", Output("wall.png")});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const RgbImage picture = ReadOutput("wall.png");
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 48);
    // The wall above the horizon, in the file's first rows; the sky below it.
    const std::vector<std::uint8_t> top = Pixel(picture, 32, 2);
    EXPECT_GT(top[0], 0);
    EXPECT_EQ(top[2], 0);
    EXPECT_TRUE(IsSky(Pixel(picture, 32, 45)));
}

TEST_F(ShotTool, PlaysTheMouseOnItsFrame) {
    // 900 pixels to the right turn the view by 180 degrees, away from the wall.
    const ProgramRun run = Shot({"--model", Model(), "--size", "64x48", "--frames", "2", "--mouse",
                                 "900,0@2", "-o", Output("turned.png")});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const RgbImage picture = ReadOutput("turned.png");
    ASSERT_TRUE(picture.IsWhole());
    EXPECT_TRUE(IsSky(Pixel(picture, 32, 2)));
    EXPECT_TRUE(IsSky(Pixel(picture, 32, 45)));
}

TEST_F(ShotTool, BenchReportsFramesAndMedian) {
    const ProgramRun run = Shot({"--model", Model(), "--size", "32x24", "--frames", "3", "--bench",
                                 "-o", Output("bench.png")});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_NE(run.standardOutput.find("frames 3\n"), std::string::npos) << run.standardOutput;
    EXPECT_NE(run.standardOutput.find("ms per frame"), std::string::npos) << run.standardOutput;
}

TEST_F(ShotTool, UnreadableModelIsAnError) {
    for (const std::string& model : {scratch_.File("missing.3ds"), scratch_.Path()}) {
        const ProgramRun run = Shot({"--model", model, "-o", Output("none.png")});
        EXPECT_EQ(run.exitStatus, 1) << model;
        EXPECT_NE(run.standardError.find("cannot open model " + model), std::string::npos)
            << run.standardError;
        EXPECT_FALSE(std::filesystem::exists(Output("none.png"))) << model;
    }
}

TEST_F(ShotTool, UnwritableOutputIsAnError) {
    const ProgramRun run =
        Shot({"--model", Model(), "--size", "8x8", "-o", scratch_.File("no/such/dir/out.png")});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.standardError.find("cannot write"), std::string::npos) << run.standardError;
}

TEST_F(ShotTool, BadUsageIsOneLineAndStatusTwo) {
    const std::vector<std::vector<std::string>> kBad = {
        {}, {"--frames", "0", "-o", "x.png"}, {"--hold", "Q:1-2", "-o", "x.png"}, {"x.png"}};
    for (const auto& arguments : kBad) {
        const ProgramRun run = Shot(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        ASSERT_FALSE(run.standardError.empty());
        EXPECT_EQ(run.standardError.find('\n'), run.standardError.size() - 1) << run.standardError;
    }
}

TEST_F(ShotTool, HelpAndVersion) {
    const ProgramRun help = Shot({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.standardOutput.find("--hold KEY:FROM-TO"), std::string::npos);
    const ProgramRun version = Shot({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.standardOutput, std::string("walkthrough-shot ") + PROJECT_VERSION + "\n");
}

}  // namespace
