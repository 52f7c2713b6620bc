#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/shot/FrameTimes.h"
#include "tools/shot/ShotOptions.h"

namespace {

using Action = ParsedCommandLine::Action;

ParsedCommandLine Parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "walkthrough-shot");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return ParseShotCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(ShotOptions, DefaultsNeedOnlyTheOutput) {
    const ParsedCommandLine parsed = Parse({"-o", "out.png"});
    ASSERT_EQ(parsed.action, Action::Render);
    EXPECT_EQ(parsed.options.modelPath, "kelm.3ds");
    EXPECT_EQ(parsed.options.frames, 1);
    EXPECT_EQ(parsed.options.width, 800);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_FALSE(parsed.options.bench);
    EXPECT_EQ(parsed.options.outputPath, "out.png");
}

TEST(ShotOptions, ReadsEveryOption) {
    const ParsedCommandLine parsed = Parse(
        {"--model", "m.3ds", "--frames", "4600", "--size", "320x200", "--hold", "w:1-200", "--hold",
         "PageUp:5-5", "--mouse", "-30,12@7", "--mouse", "5,0@7", "--bench", "-o", "o.png"});
    ASSERT_EQ(parsed.action, Action::Render) << parsed.problem;
    const ShotOptions& options = parsed.options;
    EXPECT_EQ(options.modelPath, "m.3ds");
    EXPECT_EQ(options.frames, 4600);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_TRUE(options.bench);
    EXPECT_FALSE(options.input.IsHeld(platform::kKeyW, 0));
    EXPECT_TRUE(options.input.IsHeld(platform::kKeyW, 1));
    EXPECT_TRUE(options.input.IsHeld(platform::kKeyW, 200));
    EXPECT_FALSE(options.input.IsHeld(platform::kKeyW, 201));
    EXPECT_TRUE(options.input.IsHeld(platform::kKeyPageUp, 5));
    EXPECT_FALSE(options.input.IsHeld(platform::kKeyPageUp, 4));
    EXPECT_FALSE(options.input.IsHeld(platform::kKeyA, 5));
    // Two moves on one frame add up.
    EXPECT_EQ(options.input.CursorOffset(7).x, -25);
    EXPECT_EQ(options.input.CursorOffset(7).y, 12);
    EXPECT_EQ(options.input.CursorOffset(6).x, 0);
}

TEST(ShotOptions, HelpAndVersionStandAlone) {
    EXPECT_EQ(Parse({"--help"}).action, Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, Action::Version);
    EXPECT_EQ(Parse({"--help", "-o", "x.png"}).action, Action::BadUsage);
}

TEST(ShotOptions, RefusesBadUsageWithAReason) {
    const std::vector<std::vector<std::string>> kBad = {
        {},
        {"--frames", "2"},
        {"-o"},
        {"-o", "x.png", "extra"},
        {"-o", "x.png", "--fast"},
        {"-o", "x.png", "--model", ""},
        {"-o", "x.png", "--frames", "0"},
        {"-o", "x.png", "--frames", "-3"},
        {"-o", "x.png", "--frames", "12abc"},
        {"-o", "x.png", "--frames", "99999999999999999999"},
        {"-o", "x.png", "--size", "800"},
        {"-o", "x.png", "--size", "0x600"},
        {"-o", "x.png", "--size", "800x600x2"},
        {"-o", "x.png", "--size", "5000x10"},
        {"-o", "x.png", "--hold", "W"},
        {"-o", "x.png", "--hold", "Q:1-2"},
        {"-o", "x.png", "--hold", "W:0-2"},
        {"-o", "x.png", "--hold", "W:5-2"},
        {"-o", "x.png", "--hold", "W:1-"},
        {"-o", "x.png", "--mouse", "1,2"},
        {"-o", "x.png", "--mouse", "1@3"},
        {"-o", "x.png", "--mouse", "1,2@0"},
        {"-o", "x.png", "--mouse", "9999999,0@1"},
        {"-o", "x.png", "--bench", "--frames", "2000000"},
    };
    for (const auto& arguments : kBad) {
        const ParsedCommandLine parsed = Parse(arguments);
        std::string shown;
        for (const std::string& argument : arguments) {
            shown += argument + " ";
        }
        EXPECT_EQ(parsed.action, Action::BadUsage) << shown;
        EXPECT_FALSE(parsed.problem.empty()) << shown;
        EXPECT_EQ(parsed.problem.find('\n'), std::string::npos) << shown;
    }
}

TEST(FrameTimes, MedianOfOddAndEvenCounts) {
    FrameTimes none;
    EXPECT_EQ(none.MedianMilliseconds(), 0.0);

    FrameTimes odd;
    for (double ms : {9.0, 1.0, 5.0}) {
        odd.Add(ms);
    }
    EXPECT_EQ(odd.Count(), 3);
    EXPECT_DOUBLE_EQ(odd.MedianMilliseconds(), 5.0);

    FrameTimes even;
    for (double ms : {8.0, 2.0, 100.0, 4.0}) {
        even.Add(ms);
    }
    EXPECT_DOUBLE_EQ(even.MedianMilliseconds(), 6.0);
}

}  // namespace
