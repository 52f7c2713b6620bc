// Models of any size and place, shot at frame 4500 with the view a named model gets: the model
// covers at least a third of the picture's width or height, and the view looks where it should,
// at the model's centre or where the file's camera looks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/common/PngFile.h"
#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// The clear colour (0, 0, 0.3), which fog leaves alone; drivers round its blue to 76 or 77.
bool IsSky(const std::uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && (p[2] == 76 || p[2] == 77);
}

const std::uint8_t* Pixel(const RgbImage& picture, int x, int y) {
    return &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 3];
}

// The shares of the picture's width and height between its outermost model pixels, and its
// count of sky pixels.
struct Coverage {
    double width, height;
    int skyPixels;
};
Coverage MeasureModel(const RgbImage& picture) {
    int left = picture.width, right = -1, top = picture.height, bottom = -1, sky = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (IsSky(Pixel(picture, x, y))) {
                ++sky;
            } else {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    return {std::max(0, right - left + 1) / double(picture.width),
            std::max(0, bottom - top + 1) / double(picture.height), sky};
}

// Frame 4500 (the sun up, the fog far) of `model` at 160x120, run as a user runs it, saying
// `said` on standard error.
void Shoot(const std::string& name, const std::string& model, const std::string& options,
           RgbImage& picture, const std::string& said = "") {
    const ProgramRun run =
        RunProgram(name, WALKTHROUGH_SHOT " --model " + model + options +
                             " --frames 4500 --size 160x120 -o " + name + ".png");
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    EXPECT_EQ(run.standardError, said);
    std::string error;
    ASSERT_TRUE(ReadPng(name + ".png", picture, error)) << error;
    ASSERT_TRUE(picture.width == 160 && picture.height == 120 && picture.IsWhole());
}

// An upright wall across y = `y`, from x0 to x1 and from z0 up to z1.
MeshObjectSpec Wall(const char* name, float x0, float x1, float y, float z0, float z1,
                    const char* material) {
    return {name, {x0, y, z0, x1, y, z0, x1, y, z1, x0, y, z1}, {0, 1, 2, 0, 2, 3}, {material}};
}

struct PlacedModel {
    const char* name;
    float size;       // the wall's length; it is a third as high
    float centre[3];  // of its foot
    bool camera;      // a green shed beside it, and a camera close in front of the shed
};

void PrintTo(const PlacedModel& model, std::ostream* out) {
    *out << model.name;
}

class FittedView : public ::testing::TestWithParam<PlacedModel> {};

TEST_P(FittedView, ShowsTheModelAtSunrise) {
    const PlacedModel& m = GetParam();
    const float s = m.size, x = m.centre[0], y = m.centre[1], z = m.centre[2];
    ChunkWriter w;
    w.BeginModel();
    w.Material("Stone", 180, 180, 180);
    w.Material("Moss", 40, 200, 40);
    w.MeshObject(Wall("House", x - s / 2, x + s / 2, y, z, z + s / 3, "Stone"));
    if (m.camera) {
        // The shed stands well clear of the house: the fitted view's centre would be sky.
        w.MeshObject(Wall("Shed", x + 2 * s, x + 2.5f * s, y, z, z + s / 4, "Moss"));
        const float eye[3] = {x + 2.25f * s, y - s / 2, z + s / 8};
        w.CameraObject("Camera01", {eye[0], eye[1], eye[2], eye[0], y, eye[2], 0, 45});
    }
    w.EndModel();
    const std::string name = std::string("fitted-") + m.name;
    ASSERT_TRUE(w.WriteFile(name + ".3ds"));

    RgbImage picture;
    ASSERT_NO_FATAL_FAILURE(Shoot(name, name + ".3ds", "", picture));
    const Coverage model = MeasureModel(picture);
    EXPECT_GE(std::max(model.width, model.height), 1.0 / 3)
        << model.width << " x " << model.height << ", see " << name << ".png";
    const std::uint8_t* centre = Pixel(picture, 80, 60);
    EXPECT_FALSE(IsSky(centre)) << "the view's centre misses the model";
    EXPECT_EQ(centre[1] > centre[0], m.camera) << "green: the shed the camera looks at";
}

// A model in metres, one in millimetres and one 10^7 units out, and one with a camera.
const PlacedModel kModels[] = {{"Unit", 1, {0, 0, 0}, false},
                               {"Millimetres", 1e5f, {-3e5f, 2e5f, -1e4f}, false},
                               {"FarOut", 1000, {1e7f, -1e7f, 5e3f}, false},
                               {"Camera", 10, {50, 50, 0}, true}};
INSTANTIATE_TEST_SUITE_P(Models, FittedView, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.name); });

// assimp's test1.3ds stands around the walk-through's own start: a grey wall fills the view.
// The view a named model gets stands outside it, with sky in every corner. Its floor faces along
// y, centred on x and z: it looks made with y up, and the fitted view says so.
TEST(FittedView, ARealModelThatSurroundsTheOriginalStartIsSeenFromOutside) {
    const std::string model = "/usr/share/assimp/models/3DS/test1.3ds";
    if (!std::filesystem::exists(model)) {
        GTEST_SKIP() << model << " is not here (Debian's assimp-testmodels)";
    }
    RgbImage inside, outside;
    ASSERT_NO_FATAL_FAILURE(Shoot("test1-original", model, " --view original", inside));
    ASSERT_NO_FATAL_FAILURE(
        Shoot("test1-auto", model, "", outside,
              "walkthrough-shot: " + model + " looks made with y up; --up y stands it upright\n"));
    EXPECT_EQ(MeasureModel(inside).skyPixels, 0);
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_TRUE(IsSky(Pixel(outside, corner % 2 * 159, corner / 2 * 119))) << corner;
    }
    const Coverage seen = MeasureModel(outside);
    EXPECT_GE(std::max(seen.width, seen.height), 1.0 / 3);
}

}  // namespace

namespace {

// A walled yard on its ground with a camera, written with z up, or as a y-up tool writes it:
// every (x, y, z) as (x, z, -y).
ChunkWriter Yard(bool yUp) {
    const auto written = [yUp](std::vector<float> xyz) {
        for (std::size_t i = 0; yUp && i + 2 < xyz.size(); i += 3) {
            xyz[i + 1] = std::exchange(xyz[i + 2], -xyz[i + 1]);
        }
        return xyz;
    };
    ChunkWriter w;
    w.BeginModel();
    w.Material("Grass", 60, 160, 60);
    w.Material("Brick", 170, 80, 60);
    w.MeshObject({"Ground",
                  written({-40, -30, 0, 40, -30, 0, 40, 30, 0, -40, 30, 0}),
                  {0, 1, 2, 0, 2, 3},
                  {"Grass"}});
    MeshObjectSpec walls{"Walls", {}, {}, {"Brick"}};
    const float corners[4][2] = {{-10, -8}, {12, -8}, {12, 8}, {-10, 8}};
    for (int c = 0; c < 4; ++c) {
        const std::vector<float> post =
            written({corners[c][0], corners[c][1], 0, corners[c][0], corners[c][1], 4.0f + c});
        walls.xyz.insert(walls.xyz.end(), post.begin(), post.end());
        const auto a = std::uint16_t(2 * c), b = std::uint16_t(2 * ((c + 1) % 4));
        walls.abc.insert(walls.abc.end(), {a, b, std::uint16_t(b + 1), a, std::uint16_t(b + 1),
                                           std::uint16_t(a + 1)});
    }
    w.MeshObject(walls);
    const std::vector<float> camera = written({30, -35, 6, 0, 0, 2});
    w.CameraObject("Camera01",
                   {camera[0], camera[1], camera[2], camera[3], camera[4], camera[5], 0, 45});
    w.EndModel();
    return w;
}

// --up y stands a model written with y up exactly as the same model written with z up: the
// same picture, from its camera and fitted.
TEST(FittedView, AModelMadeWithYUpStandsUprightWithUpY) {
    ASSERT_TRUE(Yard(false).WriteFile("yard-z.3ds") && Yard(true).WriteFile("yard-y.3ds"));
    for (const std::string view : {"camera", "fit"}) {
        RgbImage expected, turned;
        ASSERT_NO_FATAL_FAILURE(Shoot("yard-z-" + view, "yard-z.3ds", " --view " + view, expected));
        ASSERT_NO_FATAL_FAILURE(
            Shoot("yard-y-" + view, "yard-y.3ds", " --up y --view " + view, turned));
        EXPECT_GE(std::max(MeasureModel(expected).width, MeasureModel(expected).height), 1.0 / 3);
        EXPECT_TRUE(turned.pixels == expected.pixels) << view << ": see yard-*-" << view << ".png";
    }
    RgbImage lyingDown;
    ASSERT_NO_FATAL_FAILURE(Shoot("yard-y-lying", "yard-y.3ds", "", lyingDown,
                                  "walkthrough-shot: yard-y.3ds looks made with y up; --up y "
                                  "stands it upright\n"));
}

}  // namespace
