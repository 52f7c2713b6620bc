// Runs make-sample into a temporary directory and checks the files it writes: a model the
// walk-through can read whole and that gives its start view something to see, and a soft
// ambient sound of about 20 seconds.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>  // the exit status within std::system's result
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "scene/Scene.h"
#include "tests/reader/LoadedModel.h"

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs make-sample into `dir`; its exit status.
int MakeSample(const fs::path& dir) {
    const std::string command = "\"" MAKE_SAMPLE_PROGRAM "\" \"" + dir.string() + "\"";
#ifdef _WIN32
    return std::system(("\"" + command + "\"").c_str());  // cmd.exe strips the outer quotes
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// The camera's eye height over the ground until the user raises it, and the distance of the
// projection's far plane.
constexpr double kEyeHeight = 3.0;
constexpr double kFarPlane = 3000.0;

// What the start view can see, from one pass over the loaded faces. The view runs down -y.
struct Survey {
    double groundLowX = 0, groundHighX = 0, groundLowY = 0, groundHighY = 0;
    std::size_t groundFaces = 0, groundFacingUp = 0;
    // Faces standing within the first 100 units ahead (inside the first fog), either side of
    // the street.
    std::size_t left = 0, right = 0;
    double farthest = 0;    // from the eye, of any corner off the ground
    double tallestFar = 0;  // of the corners 1000 units or more from the eye

    void AddGround(const float (&corner)[3][3], float normalZ) {
        ++groundFaces;
        groundFacingUp += normalZ > 0.999f ? 1 : 0;
        for (const float* p : corner) {
            groundLowX = std::min(groundLowX, double(p[0]));
            groundHighX = std::max(groundHighX, double(p[0]));
            groundLowY = std::min(groundLowY, double(p[1]));
            groundHighY = std::max(groundHighY, double(p[1]));
        }
    }
    void AddStanding(const float (&corner)[3][3], double eyeX, double eyeY) {
        const double x = (corner[0][0] + corner[1][0] + corner[2][0]) / 3 - eyeX;
        const double y = (corner[0][1] + corner[1][1] + corner[2][1]) / 3 - eyeY;
        const double z = (corner[0][2] + corner[1][2] + corner[2][2]) / 3;
        if (y < 0 && y > -100 && z > 6) {
            left += x > 8 && x < 80 ? 1 : 0;
            right += x < -8 && x > -80 ? 1 : 0;
        }
        for (const float* p : corner) {
            const double distance = std::hypot(p[0] - eyeX, p[1] - eyeY, p[2] - kEyeHeight);
            farthest = std::max(farthest, distance);
            tallestFar = std::max(tallestFar, distance >= 1000 ? p[2] : 0.0);
        }
    }
};

Survey SurveyTheModel(double eyeX, double eyeY) {
    Survey survey;
    for (const Mesh* mesh : MeshList()) {
        for (int i = 0; i < FaceCount(*mesh); ++i) {
            float corner[3][3];
            for (int k = 0; k < 3; ++k) {
                ReadVertex(*mesh, FaceRecord(*mesh, i)[k], corner[k]);
            }
            if (corner[0][2] == 0 && corner[1][2] == 0 && corner[2][2] == 0) {
                survey.AddGround(corner, mesh->normals[3 * i + 2]);
            } else {
                survey.AddStanding(corner, eyeX, eyeY);
            }
        }
    }
    return survey;
}

class SampleFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() / ("walkthrough-sample-" + std::to_string(stamp));
        status_ = MakeSample(dir_ / "out");
        modelPath_ = (dir_ / "out" / "kelm.3ds").string();
        model_ = ReadBytes(modelPath_);
        sound_ = ReadBytes(dir_ / "out" / "groud.wav");
        scene_ = std::make_unique<Scene>(modelPath_.c_str());
    }
    static void TearDownTestSuite() {
        scene_.reset();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void SetUp() override {
        ASSERT_EQ(status_, 0);
        ASSERT_FALSE(model_.empty());
    }

    static inline fs::path dir_;
    static inline int status_ = -1;
    static inline std::string modelPath_;  // the scene keeps a pointer to it
    static inline std::vector<unsigned char> model_, sound_;
    static inline std::unique_ptr<Scene> scene_;  // the only one: the mesh list is global
};

TEST_F(SampleFiles, ModelIsReadWholeAndEveryMeshHasItsMaterialsColour) {
    EXPECT_EQ(scene_->loaded, 1);
    // The file is the project's own: the reader must have had nothing to tolerate.
    EXPECT_EQ(ProblemsOf(*scene_), std::vector<std::string>{});
    EXPECT_EQ(scene_->bytesRead, static_cast<std::int32_t>(model_.size()));
    EXPECT_EQ(scene_->modelScale, 1.0f);
    EXPECT_LT(model_.size(), 3u << 20);

    const std::vector<const Material*> materials = MaterialList(*scene_);
    std::set<std::tuple<float, float, float>> colours;
    for (const Material* material : materials) {
        EXPECT_TRUE(material->hasColor) << material->name;
        colours.emplace(material->color[0], material->color[1], material->color[2]);
    }
    EXPECT_EQ(colours.size(), materials.size()) << "materials that share a colour";
    std::set<const float*> used;
    std::size_t faces = 0;
    for (const Mesh* mesh : MeshList()) {
        SCOPED_TRACE(mesh->materialName);
        EXPECT_GT(FaceCount(*mesh), 0);
        faces += FaceCount(*mesh);
        const auto owner = std::find_if(materials.begin(), materials.end(), [&](const Material* x) {
            return x->color == mesh->materialColor;
        });
        ASSERT_NE(owner, materials.end());
        EXPECT_STREQ((*owner)->name, mesh->materialName);
        used.insert(mesh->materialColor);
    }
    EXPECT_EQ(used.size(), materials.size()) << "materials no mesh uses";
    EXPECT_GE(faces, 5000u);
    EXPECT_LE(faces, 40000u);
}

TEST_F(SampleFiles, StartViewHasGroundBuildingsAndLandmarksInsideTheFarPlane) {
    const double eyeX = scene_->eye[0], eyeY = scene_->eye[1];
    const Survey survey = SurveyTheModel(eyeX, eyeY);
    // A grid facing up, not a few large quads: fog and light are computed per vertex.
    EXPECT_GE(survey.groundFaces, 2000u);
    EXPECT_EQ(survey.groundFacingUp, survey.groundFaces);
    EXPECT_LE(survey.groundLowX, eyeX - kFarPlane);
    EXPECT_GE(survey.groundHighX, eyeX + kFarPlane);
    EXPECT_LE(survey.groundLowY, eyeY - kFarPlane);
    EXPECT_GE(survey.groundHighY, eyeY + kFarPlane);
    EXPECT_GE(survey.left, 40u);
    EXPECT_GE(survey.right, 40u);
    EXPECT_LT(survey.farthest, kFarPlane);
    EXPECT_GE(survey.tallestFar, 150);
}

TEST_F(SampleFiles, EveryRunWritesTheSameBytes) {
    ASSERT_EQ(MakeSample(dir_ / "again"), 0);
    EXPECT_TRUE(ReadBytes(dir_ / "again" / "kelm.3ds") == model_);
    EXPECT_TRUE(ReadBytes(dir_ / "again" / "groud.wav") == sound_);
}

std::uint32_t LittleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

TEST_F(SampleFiles, SoundIsATwentySecondSoftPcmWave) {
    const std::vector<unsigned char>& wav = sound_;
    ASSERT_GE(wav.size(), 44u);
    const auto tag = [&](std::size_t at) { return std::string(&wav[at], &wav[at] + 4); };
    EXPECT_EQ(tag(0) + tag(8) + tag(12) + tag(36), "RIFFWAVEfmt data");
    // Mono 16-bit PCM at 22050 Hz, its data to the end of the file.
    const struct {
        std::size_t at;
        int size;
        std::size_t value;
    } kHeader[] = {{4, 4, wav.size() - 8},  {16, 4, 16},    {20, 2, 1}, {22, 2, 1},
                   {24, 4, 22050},          {28, 4, 44100}, {32, 2, 2}, {34, 2, 16},
                   {40, 4, wav.size() - 44}};
    for (const auto& field : kHeader) {
        EXPECT_EQ(LittleEndian(wav, field.at, field.size), field.value) << "at " << field.at;
    }
    const std::size_t count = (wav.size() - 44) / 2;
    EXPECT_NEAR(count / 22050.0, 20.0, 2.0);

    const auto sample = [&](std::size_t i) {
        return static_cast<std::int16_t>(LittleEndian(wav, 44 + 2 * i, 2)) / 32768.0;
    };
    double peak = 0, sumSquares = 0, edges = 0;
    for (std::size_t i = 0; i < count; ++i) {
        peak = std::max(peak, std::fabs(sample(i)));
        sumSquares += sample(i) * sample(i);
        if (i < 2205 || i >= count - 2205) {
            edges = std::max(edges, std::fabs(sample(i)));
        }
    }
    // Soft but not silent, faded in and out: the first and last tenth of a second are near
    // silence.
    EXPECT_LE(peak, 0.5);
    EXPECT_GE(std::sqrt(sumSquares / count), 0.03);
    EXPECT_LE(edges, 0.01);
}

}  // namespace
