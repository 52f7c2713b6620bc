// Decompression bombs beside a model, made here (one colour, tiny on disk): PNG and JPEG images
// of 8192x8192 are refused from their headers, one line each; those of 4096x4096 are decoded
// reduced to what the picture needs. The thumbnail and the drawing of an 800x600 picture stay
// within 512 MB at their peak, and the thumbnailer's bounds end a run that passes them,
// leaving no picture.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/imagewriter/OneColourImages.h"

namespace {

namespace fs = std::filesystem;

constexpr long kBudgetMegabytes = 512;

// The peak resident size of the largest of this process's children (and theirs) that have
// ended, as the system counted it.
long PeakOfChildrenMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
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

// The installed thumbnailer's command, as a file manager runs it, and the window's picture
// size (the 4096x4096 images decoded reduced to 1024 a side): within the budget, and one line
// for each image refused, naming it and the reason; none for the others.
TEST_F(TextureBudget, TheThumbnailAndTheDrawingStayWithinTheirMemory) {
    for (const auto& [name, options] :
         {std::pair{"bombs-thumbnail",
                    " --frames 4500 --size 256 --time-limit 20 --memory-limit 1024"},
          {"bombs-drawing", " --frames 1"}}) {
        const ProgramRun run = RunProgram(
            name, WALKTHROUGH_SHOT " --model " + Model() + options + " -o " + name + ".png");
        EXPECT_EQ(run.exitStatus, 0) << name << ": " << run.standardError;
        EXPECT_LE(PeakOfChildrenMegabytes(), kBudgetMegabytes) << name;
        for (const char* bomb : {"BOMB.PNG", "BOMB.JPG"}) {
            EXPECT_NE(run.standardError.find(std::string("texture \"") + bomb +
                                             "\" of material \"M" + (bomb[5] == 'P' ? "0" : "1") +
                                             "\" is 8192x8192 pixels, more than the 16,777,216 "
                                             "an image may have; its colour is drawn\n"),
                      std::string::npos)
                << run.standardError;
        }
        EXPECT_EQ(run.standardError.find("LARGE"), std::string::npos) << run.standardError;
    }
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
