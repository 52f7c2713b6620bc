// The command line of walkthrough: the two ways to run, and what each option changes.
#include <gtest/gtest.h>

#include <fstream>

#include "app/RunOptions.h"
#include "tests/support/ModelFile.h"
#include "tests/tools/CommandLineCheck.h"

namespace {

std::string Describe(const RunOptions& o) {
    const char* views[] = {"auto", "camera", "fit", "original"};
    const char* displays[] = {"ask", "full", "windowed"};
    std::string text =
        o.modelPath + (o.modelNamed ? " named " : " ") + (o.drawMaterials ? "materials " : "") +
        displays[static_cast<int>(o.display)] + (o.switchDisplayMode ? "+mode " : " ") +
        views[static_cast<int>(o.view)] + "/" + views[static_cast<int>(o.droppedView)];
    if (o.scale) {
        text += " scale " + std::to_string(*o.scale).substr(0, 3);
    }
    if (o.up == UpAxis::kY || o.droppedUp == UpAxis::kY) {
        text += std::string(" up ") + (o.up == UpAxis::kY ? "y" : "z") + "/" +
                (o.droppedUp == UpAxis::kY ? "y" : "z");
    }
    text += o.AsMade() ? " as made" : "";
    return text + " sound " + (o.soundPath.empty() ? "none" : o.soundPath);
}

// clang-format off
TEST(RunOptions, WithoutAModelTheWalkThroughAsMadeWithOneTheModelFitted) {
    ExpectOutcomes(ParseRunCommandLine, "walkthrough", Describe, {
        {"", -1, "kelm.3ds ask+mode original/auto as made sound groud.wav"},
        {"--windowed", -1, "kelm.3ds windowed+mode original/auto as made sound groud.wav"},
        {"--fullscreen --view fit", -1, "kelm.3ds full+mode fit/fit sound groud.wav"},
        {"--up y", -1, "kelm.3ds ask+mode original/auto up y/y sound groud.wav"},
        {"--up y m.3ds", -1, "m.3ds named materials windowed auto/auto up y/y sound none"},
        {"--up x m.3ds", 2, "--up"},
        {"m.3ds", -1, "m.3ds named materials windowed auto/auto sound none"},
        {"--fullscreen m.3ds --view camera --scale 2.5 --sound s.wav", -1,
         "m.3ds named materials full camera/camera scale 2.5 sound s.wav"},
        {"--view original --no-sound m.3ds", -1, "m.3ds named materials windowed original/original sound none"},
        {"--fullscreen --windowed m.3ds", 2, "excludes"}, {"--view top m.3ds", 2, "top"},
        {"--scale 0 m.3ds", 2, "--scale"}, {"--scale -1 m.3ds", 2, "--scale"},
        {"--sound a.wav --no-sound m.3ds", 2, "excludes"}, {"a.3ds b.3ds", 2, "b.3ds"},
        {"--help", 0, "Usage: walkthrough"}, {"--version", 0, "walkthrough " PROJECT_VERSION "\n"}});
}
// clang-format on

TEST(RunOptions, TheSoundBesideANamedModelIsPlayed) {
    const ModelFile model({0x4D, 0x4D});
    const std::string path = model.path();
    const std::string sound = path.substr(0, path.find_last_of("/\\") + 1) + "groud.wav";
    std::ofstream(sound) << "RIFF";
    const char* argv[] = {"walkthrough", model.path()};
    EXPECT_EQ(ParseRunCommandLine(2, argv).options.soundPath, sound);
    std::remove(sound.c_str());
}

}  // namespace
