// Decompression bombs beside a model, made here (one colour, tiny on disk): PNG and JPEG images
// of 8192x8192 are refused from their headers, one line each; those of 4096x4096 are decoded
// reduced to what the picture needs. The thumbnail and the drawing of an 800x600 picture stay
// within 512 MB at their peak, and the thumbnailer's bounds end a run that passes them,
// leaving no picture.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/imagewriter/OneColourImages.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr long kBudgetMegabytes = 512;

struct MeasuredRun {
    int exitStatus = -1;
    long peakMegabytes = 0;  // the child's peak resident size
    std::string standardError;
};

// Runs `command` (the program's path and arguments, as the shell reads them) in a child of its
// own and reads its peak resident size as the system counted it.
MeasuredRun RunMeasured(const std::string& name, const std::string& command) {
    const std::string line = "exec " + command + " >" + name + ".out 2>" + name + ".err";
    const char* argv[] = {"/bin/sh", "-c", line.c_str(), nullptr};
    pid_t child = 0;
    MeasuredRun run;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return run;
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
        run.exitStatus = WEXITSTATUS(status);
    }
    run.peakMegabytes = usage.ru_maxrss / 1024;
    run.standardError = ReadText(name + ".err");
    return run;
}

class TextureBudget : public testing::Test {
protected:
    // A quad for each image, each in a textured material of its own.
    static void SetUpTestSuite() {
        // A folder of this process's own: ctest runs the suite's tests side by side, each in a
        // process that makes and removes the folder.
        folder_ = fs::current_path() / ("texture-bombs-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        ChunkWriter w;
        w.BeginModel();
        MeshObjectSpec quads{"Quads", {}, {}, {}};
        int n = 0;
        for (const char* image : {"BOMB.PNG", "BOMB.JPG", "LARGE.PNG", "LARGE.JPG"}) {
            const bool png = std::string(image).find(".PNG") != std::string::npos;
            const int side = n < 2 ? 8192 : 4096;
            const OneColour colour{std::uint8_t(50 * n), 200, 30};
            std::string file = image;
            std::transform(file.begin(), file.end(), file.begin(), ::tolower);
            ASSERT_TRUE((png ? WriteOneColourPng : WriteOneColourJpeg)((folder_ / file).string(),
                                                                       side, side, colour));
            const std::string material = "M" + std::to_string(n);
            w.BeginMaterial(material, 128, 128, 128), w.TextureMap(image), w.End();
            const auto first = static_cast<std::uint16_t>(4 * n);
            const float x = 2.0f * n;
            quads.xyz.insert(quads.xyz.end(), {x, 0, 0, x + 1, 0, 0, x + 1, 0, 1, x, 0, 1});
            quads.uv.insert(quads.uv.end(), {0, 0, 1, 0, 1, 1, 0, 1});
            quads.abc.insert(quads.abc.end(),
                             {first, std::uint16_t(first + 1), std::uint16_t(first + 2), first,
                              std::uint16_t(first + 2), std::uint16_t(first + 3)});
            quads.faceGroups.push_back(
                {material, {std::uint16_t(2 * n), std::uint16_t(2 * n + 1)}});
            ++n;
        }
        w.MeshObject(quads);
        w.EndModel();
        ASSERT_TRUE(w.WriteFile((folder_ / "bombs.3ds").string()));
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static std::string Model() { return (folder_ / "bombs.3ds").string(); }

    static fs::path folder_;
};
fs::path TextureBudget::folder_;

// One line for each image refused, naming it and the reason; none for the others.
void ExpectRefusalsOfTheBombsAlone(const std::string& warnings) {
    for (const char* bomb : {"BOMB.PNG", "BOMB.JPG"}) {
        EXPECT_NE(warnings.find(std::string("texture \"") + bomb + "\" of material \"M" +
                                (bomb[5] == 'P' ? "0" : "1") +
                                "\" is 8192x8192 pixels, more than the 16,777,216 an image may "
                                "have; its colour is drawn\n"),
                  std::string::npos)
            << warnings;
    }
    EXPECT_EQ(warnings.find("LARGE"), std::string::npos) << warnings;
}

// The installed thumbnailer's command, as a file manager runs it.
TEST_F(TextureBudget, TheThumbnailStaysWithinItsMemory) {
    const MeasuredRun run = RunMeasured(
        "bombs-thumbnail", WALKTHROUGH_SHOT " --model " + Model() +
                               " --frames 4500 --size 256 --time-limit 20 --memory-limit 1024 "
                               "-o bombs-thumbnail.png");
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_LE(run.peakMegabytes, kBudgetMegabytes);
    ExpectRefusalsOfTheBombsAlone(run.standardError);
}

// The window's picture size: the 4096x4096 images decoded reduced to 1024 a side.
TEST_F(TextureBudget, TheDrawingStaysWithinItsMemory) {
    const MeasuredRun run = RunMeasured("bombs-drawing", WALKTHROUGH_SHOT " --model " + Model() +
                                                             " --frames 1 -o bombs-drawing.png");
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_LE(run.peakMegabytes, kBudgetMegabytes);
    ExpectRefusalsOfTheBombsAlone(run.standardError);
}

// Past its bounds the run ends at once with status 1 and one line, and leaves no picture.
TEST_F(TextureBudget, TheThumbnailersBoundsEndARunAndLeaveNoPicture) {
    const struct {
        const char* name;
        const char* bound;
        const char* said;
    } cases[] = {
        {"bound-memory", "--memory-limit 64", "past its memory limit of 64 MB; nothing written\n"},
        {"bound-time", "--time-limit 1 --bench --frames 1000000",
         "past its time limit of 1 s; nothing written\n"},
    };
    for (const auto& c : cases) {
        const std::string picture = std::string(c.name) + ".png";
        fs::remove(picture);
        const ProgramRun run = RunProgram(
            c.name, WALKTHROUGH_SHOT " --model " + Model() + " " + c.bound + " -o " + picture);
        EXPECT_EQ(run.exitStatus, 1) << c.name;
        EXPECT_NE(run.standardError.find(std::string("walkthrough-shot: ") + c.said),
                  std::string::npos)
            << run.standardError;
        EXPECT_FALSE(fs::exists(picture) || fs::exists(picture + ".writing")) << c.name;
    }
}

}  // namespace
