// walkthrough-shot: its command line, argv to options or to the stop it makes; the input it
// scripts as the headless backend plays it; its timing. (Its runs: a model that cannot be
// opened in CMakeLists.txt, pictures in FittedViewTest.cpp and PictureTest.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/offscreen/OffscreenScript.h"
#include "tests/tools/CommandLineCheck.h"
#include "tools/shot/FrameTimes.h"
#include "tools/shot/ShotOptions.h"

namespace {

std::string Describe(const ShotOptions& o) {
    static const char* const kViews[] = {"auto", "camera", "fit", "original"};
    return o.modelPath + " " + kViews[static_cast<int>(o.view)] + " " +
           (o.scale ? std::to_string(*o.scale) + " " : "") + std::to_string(o.frames) + " " +
           std::to_string(o.width) + "x" + std::to_string(o.height) + (o.bench ? " bench " : " ") +
           (o.timeLimitSeconds != 0 ? std::to_string(o.timeLimitSeconds) + "s " : "") +
           (o.memoryLimitMegabytes != 0 ? std::to_string(o.memoryLimitMegabytes) + "MB " : "") +
           o.outputPath;
}

TEST(ShotOptions, ReadsOptionsOrSaysWhyNot) {
    // clang-format off
    ExpectOutcomes(ParseShotCommandLine, "walkthrough-shot", Describe,
        {{"--model m.3ds --frames 4600 --size 320x200 --bench -o o.png", -1,
          "m.3ds auto 4600 320x200 bench o.png"},
         {"--size 256 -o o.png", -1, "kelm.3ds original 1 256x256 o.png"},
         {"--view fit --scale 2.5 -o o.png", -1, "kelm.3ds fit 2.500000 1 800x600 o.png"},
         {"--size 96 --time-limit 10 --memory-limit 1024 -o o.png", -1,
          "kelm.3ds original 1 96x96 10s 1024MB o.png"},
         {"--help", 0, "--hold KEY:FROM-TO"},
         {"--version", 0, "walkthrough-shot " PROJECT_VERSION "\n"},
         {"--frames 2", 2, "-o"}, {"--frames 2000000 --bench -o x.png", 2, "--bench"}});
    // Each bad value stops the tool with a line naming its option.
    for (const std::string bad :
         {"--model ''", "--frames 0", "--frames +3", "--frames 12abc", "--frames 100000001",
          "--frames 99999999999999999999", "--size 800x", "--size 0", "--size 0x600",
          "--size 800x600x2", "--size 5000x10", "--hold W", "--hold Q:1-2", "--hold W:0-2",
          "--hold W:5-2", "--hold W:1-", "--mouse 1,2", "--mouse 1@3", "--mouse 1,2@0",
          "--mouse 9999999,0@1", "--time-limit 0", "--time-limit 1.5", "--time-limit 86401",
          "--memory-limit 63", "--memory-limit 1048577"}) {
        // clang-format on
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

}  // namespace
