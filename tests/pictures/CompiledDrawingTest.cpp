// A named model's compiled drawing, which leaves out the parts outside the view, makes the same
// picture, byte for byte, as sending every face every frame (walkthrough-shot --immediate), on
// frames of a walk that turns a full circle inside the model: parts come into view and leave it
// across every edge of the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/common/PngFile.h"
#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// From frame 4000, with the sun high and the fog far, a step forward and a turn of 1.2 degrees
// every frame.
constexpr int kWalkStart = 4000;
constexpr int kWalkFrames = 300;

std::string WalkOptions() {
    std::string options = " --view original --size 160x120 --hold W:" + std::to_string(kWalkStart) +
                          "-" + std::to_string(kWalkStart + kWalkFrames);
    for (int frame = kWalkStart; frame <= kWalkStart + kWalkFrames; ++frame) {
        options += " --mouse 6,0@" + std::to_string(frame);
    }
    return options;
}

// A rippled ground of 12,000 flat faces around the start, and a smooth hill of 3,200 in one
// smoothing group: batches of several parts each, both kinds of shading.
std::string WriteGrounds() {
    const auto grid = [](const char* name, int across, int rows, float size, float lift, float east,
                         const char* material) {
        MeshObjectSpec mesh{name, {}, {}, {material}};
        for (int row = 0; row <= rows; ++row) {
            for (int column = 0; column <= across; ++column) {
                const float x = size * (float(column) / across - 0.5f);
                const float y = size * (float(row) / rows - 0.5f);
                const float z = lift * (1 - std::hypot(x, y) / size) + std::sin(x / 7);
                mesh.xyz.insert(mesh.xyz.end(), {x + east, y, z});
            }
        }
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < across; ++column) {
                const auto a = static_cast<std::uint16_t>(row * (across + 1) + column);
                const auto c = static_cast<std::uint16_t>(a + across + 1);
                mesh.abc.insert(mesh.abc.end(), {a, std::uint16_t(a + 1), c, std::uint16_t(a + 1),
                                                 std::uint16_t(c + 1), c});
            }
        }
        return mesh;
    };
    ChunkWriter w;
    w.BeginModel();
    w.Material("Moss", 60, 160, 60);
    w.Material("Clay", 180, 110, 70);
    w.MeshObject(grid("Ground", 100, 60, 300, 0, 0, "Moss"));
    MeshObjectSpec hill = grid("Hill", 40, 40, 120, 30, 100, "Clay");
    hill.smoothing.assign(hill.abc.size() / 3, 1u);
    w.MeshObject(hill);
    w.EndModel();
    const std::string path = "compiled-grounds.3ds";
    return w.WriteFile(path) ? path : "";
}

struct WalkedModel {
    const char* name;
    const char* path;  // null: WriteGrounds
};

void PrintTo(const WalkedModel& model, std::ostream* out) {
    *out << model.name;
}

class CompiledDrawing : public ::testing::TestWithParam<WalkedModel> {};

TEST_P(CompiledDrawing, DrawsWhatEveryFaceDrawsOnEveryFrameOfAWalk) {
    const std::string model = GetParam().path != nullptr ? GetParam().path : WriteGrounds();
    ASSERT_FALSE(model.empty());
    int framesShowingTheModel = 0;
    for (int frame = kWalkStart + 30; frame <= kWalkStart + kWalkFrames; frame += 60) {
        RgbImage pictures[2];
        for (int immediate = 0; immediate < 2; ++immediate) {
            const std::string name = std::string("compiled-") + GetParam().name + "-" +
                                     std::to_string(frame) + (immediate ? "-immediate" : "");
            const ProgramRun run =
                RunProgram(name, WALKTHROUGH_SHOT " --model " + model + WalkOptions() +
                                     " --frames " + std::to_string(frame) +
                                     (immediate ? " --immediate" : "") + " -o " + name + ".png");
            ASSERT_EQ(run.exitStatus, 0) << run.standardError;
            std::string error;
            ASSERT_TRUE(ReadPng(name + ".png", pictures[immediate], error)) << error;
        }
        EXPECT_TRUE(pictures[0].pixels == pictures[1].pixels) << "frame " << frame;
        // The clear colour is (0, 0, 0.3): anything else is the model.
        framesShowingTheModel += std::any_of(pictures[0].pixels.begin(), pictures[0].pixels.end(),
                                             [](std::uint8_t c) { return c > 80; });
    }
    EXPECT_GE(framesShowingTheModel, 4);
}

INSTANTIATE_TEST_SUITE_P(Models, CompiledDrawing,
                         ::testing::Values(WalkedModel{"Grounds", nullptr},
                                           WalkedModel{"Sample", SAMPLE_DIR "/kelm.3ds"},
                                           WalkedModel{"TexturedSample",
                                                       TEXTURED_SAMPLE_DIR "/kelm.3ds"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
