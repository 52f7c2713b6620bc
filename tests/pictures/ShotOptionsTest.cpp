// walkthrough-shot's command line: argv to options, or to the stop it makes; and its timing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/CommandLineCheck.h"
#include "tools/shot/FrameTimes.h"
#include "tools/shot/ShotOptions.h"

namespace {

ParsedCommandLine<ShotOptions> Parse(const std::vector<std::string>& arguments) {
    return ParseArguments(ParseShotCommandLine, "walkthrough-shot", arguments);
}

TEST(ShotOptions, ReadsEveryOption) {
    const auto parsed = Parse({"--model", "m.3ds", "--frames", "4600", "--size", "320x200",
                               "--hold", "w:1-200", "--hold", "PageUp:5-5", "--mouse", "-30,12@7",
                               "--mouse", "5,0@7", "--bench", "-o", "o.png"});
    ASSERT_FALSE(parsed.stop) << parsed.stop->standardError;
    const ShotOptions& options = parsed.options;
    EXPECT_EQ(options.modelPath, "m.3ds");
    EXPECT_EQ(options.frames, 4600);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_TRUE(options.bench);
    EXPECT_EQ(options.outputPath, "o.png");
    for (int frame : {0, 1, 200, 201}) {
        EXPECT_EQ(options.input.IsHeld(platform::kKeyW, frame), frame >= 1 && frame <= 200);
        EXPECT_EQ(options.input.IsHeld(platform::kKeyPageUp, frame + 4), frame == 1);
        EXPECT_FALSE(options.input.IsHeld(platform::kKeyA, frame));
    }
    // Two moves on one frame add up.
    EXPECT_EQ(options.input.CursorOffset(7).x, -25);
    EXPECT_EQ(options.input.CursorOffset(7).y, 12);
    EXPECT_EQ(options.input.CursorOffset(6).x, 0);
}

TEST(ShotOptions, HelpVersionAndAMissingOrStrayArgumentStop) {
    ExpectStop(*Parse({"--help"}).stop, "walkthrough-shot", 0, "--hold KEY:FROM-TO");
    ExpectStop(*Parse({"--version"}).stop, "walkthrough-shot", 0,
               std::string("walkthrough-shot ") + PROJECT_VERSION + "\n");
    ExpectStop(*Parse({"--frames", "2"}).stop, "walkthrough-shot", 2, "-o");
    ExpectStop(*Parse({"-o"}).stop, "walkthrough-shot", 2, "-o");
    ExpectStop(*Parse({"x.png"}).stop, "walkthrough-shot", 2, "x.png");
    ExpectStop(*Parse({"-o", "x.png", "--fast"}).stop, "walkthrough-shot", 2, "--fast");
}

TEST(ShotOptions, ABadValueNamesItsOption) {
    const std::vector<std::vector<std::string>> kBad = {{"--model", ""},
                                                        {"--frames", "0"},
                                                        {"--frames", "-3"},
                                                        {"--frames", "+3"},
                                                        {"--frames", "12abc"},
                                                        {"--frames", "99999999999999999999"},
                                                        {"--size", "800"},
                                                        {"--size", "0x600"},
                                                        {"--size", "800x600x2"},
                                                        {"--size", "5000x10"},
                                                        {"--hold", "W"},
                                                        {"--hold", "Q:1-2"},
                                                        {"--hold", "W:0-2"},
                                                        {"--hold", "W:5-2"},
                                                        {"--hold", "W:1-"},
                                                        {"--mouse", "1,2"},
                                                        {"--mouse", "1@3"},
                                                        {"--mouse", "1,2@0"},
                                                        {"--mouse", "9999999,0@1"},
                                                        {"--frames", "2000000", "--bench"}};
    for (std::vector<std::string> arguments : kBad) {
        const std::string named = arguments.back() == "--bench" ? "--bench" : arguments[0];
        arguments.insert(arguments.end(), {"-o", "x.png"});
        SCOPED_TRACE(arguments[0] + " " + arguments[1]);
        const auto parsed = Parse(arguments);
        ASSERT_TRUE(parsed.stop);
        ExpectStop(*parsed.stop, "walkthrough-shot", 2, named);
    }
}

TEST(FrameTimes, MedianOfNoneOddAndEvenCounts) {
    EXPECT_EQ(FrameTimes().MedianMilliseconds(), 0.0);
    for (const auto& [times, median] : std::vector<std::pair<std::vector<double>, double>>{
             {{9.0, 1.0, 5.0}, 5.0}, {{8.0, 2.0, 100.0, 4.0}, 6.0}}) {
        FrameTimes frameTimes;
        for (double ms : times) {
            frameTimes.Add(ms);
        }
        EXPECT_EQ(frameTimes.Count(), static_cast<int>(times.size()));
        EXPECT_DOUBLE_EQ(frameTimes.MedianMilliseconds(), median);
    }
}

}  // namespace
