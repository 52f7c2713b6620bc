// walkthrough-shot: its command line, argv to options or to the stop it makes; the input it
// scripts as the headless backend plays it; its timing; and a run of it as a user runs it, a
// picture of a known model. (A model that cannot be opened is a run in CMakeLists.txt.)
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/offscreen/OffscreenScript.h"
#include "tests/pictures/RunProgram.h"
#include "tests/tools/CommandLineCheck.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/shot/FrameTimes.h"
#include "tools/shot/PngFile.h"
#include "tools/shot/ShotOptions.h"

namespace {

std::string Describe(const ShotOptions& o) {
    return o.modelPath + " " + std::to_string(o.frames) + " " + std::to_string(o.width) + "x" +
           std::to_string(o.height) + (o.bench ? " bench " : " ") + o.outputPath;
}

TEST(ShotOptions, ReadsOptionsOrSaysWhyNot) {
    // clang-format off
    ExpectOutcomes(ParseShotCommandLine, "walkthrough-shot", Describe,
        {{"--model m.3ds --frames 4600 --size 320x200 --bench -o o.png", -1,
          "m.3ds 4600 320x200 bench o.png"},
         {"--help", 0, "--hold KEY:FROM-TO"},
         {"--version", 0, "walkthrough-shot " PROJECT_VERSION "\n"},
         {"--frames 2", 2, "-o"}, {"--frames 2000000 --bench -o x.png", 2, "--bench"}});
    // clang-format on
    // Each bad value stops the tool with a line naming its option.
    for (const std::string bad :
         {"--model ''", "--frames 0", "--frames +3", "--frames 12abc", "--frames 100000001",
          "--frames 99999999999999999999", "--size 800", "--size 0x600", "--size 800x600x2",
          "--size 5000x10", "--hold W", "--hold Q:1-2", "--hold W:0-2", "--hold W:5-2",
          "--hold W:1-", "--mouse 1,2", "--mouse 1@3", "--mouse 1,2@0", "--mouse 9999999,0@1"}) {
        ExpectOutcomes(ParseShotCommandLine, "walkthrough-shot", Describe,
                       {{bad + " -o x.png", 2, bad.substr(0, bad.find(' '))}});
    }
}

// Keys are held over their frames only, named in any letter case; a cursor move stands at its
// offset on its frame, moves on one frame adding up; the camera puts the cursor back.
TEST(ShotOptions, ScriptedInputIsPlayedFrameByFrame) {
    const auto parsed =
        ParseLine(ParseShotCommandLine, "walkthrough-shot",
                  "--hold W:2-3 --hold shift:3-3 --mouse 10,-5@2 --mouse 1,0@2 -o x.png");
    ASSERT_FALSE(parsed.stop);
    platform::offscreen::UseScript(parsed.options.input);
    std::string played;  // per frame: W and Shift held, the cursor
    for (int frame = 1; frame <= 4; ++frame) {
        platform::SetCursorScreenPosition(400, 300);
        platform::offscreen::BeginFrame(frame);
        platform::CursorPoint cursor{};
        EXPECT_TRUE(platform::GetCursorScreenPosition(cursor));
        played += std::to_string(platform::IsKeyHeld(platform::kKeyW)) +
                  std::to_string(platform::IsKeyHeld(platform::kKeyShift)) + " " +
                  std::to_string(cursor.x) + "," + std::to_string(cursor.y) + "; ";
    }
    EXPECT_EQ(played, "00 400,300; 10 411,295; 11 400,300; 00 400,300; ");
    platform::offscreen::UseScript({});
}

TEST(FrameTimes, MedianOfNoneOddAndEvenCounts) {
    FrameTimes times;
    std::vector<double> medians = {times.MedianMilliseconds()};
    for (double ms : {9.0, 1.0, 5.0, 100.0}) {
        times.Add(ms);
        medians.push_back(times.MedianMilliseconds());
    }
    EXPECT_EQ(medians, std::vector<double>({0, 9, 5, 5, 7}));
}

// One red wall across the view, 20 units ahead of the start pose (eye at y 15, height 3,
// looking along -y), from eye height up: it fills the upper half of the picture.
TEST(ShotTool, ShowsTheModelTheWayAWindowWould) {
    ChunkWriter w;
    w.BeginModel();
    w.Material("Brick", 255, 0, 0);
    w.MeshObject({"Wall",
                  {-1000, -5, 3, 1000, -5, 3, 1000, -5, 1000, -1000, -5, 1000},
                  {0, 1, 2, 0, 2, 3},
                  {"Brick"}});
    w.EndModel();
    ASSERT_TRUE(w.WriteFile("wall.3ds"));
    const ProgramRun run = RunProgram(
        "wall", WALKTHROUGH_SHOT " --model wall.3ds --size 64x48 --frames 3 --bench -o wall.png");
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(run.standardError, "");
    EXPECT_TRUE(std::regex_match(run.standardOutput,
                                 std::regex("frames 3\nmedian [0-9]+\\.[0-9]{3} ms per frame\n")))
        << run.standardOutput;
    RgbImage picture;
    std::string error;
    ASSERT_TRUE(ReadPng("wall.png", picture, error)) << error;
    ASSERT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(64, 48));
    // The wall's red above the horizon, in the file's first rows; below it the sky, the clear
    // colour (0, 0, 0.3), whose blue drivers round to 76 or 77.
    const auto pixel = [&](int y) {
        const std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * 64 + 32) * 3];
        return std::to_string(p[0] > 0) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
    };
    EXPECT_EQ(pixel(2), "1 0 0");
    EXPECT_TRUE(pixel(45) == "0 0 76" || pixel(45) == "0 0 77") << pixel(45);
}

}  // namespace
