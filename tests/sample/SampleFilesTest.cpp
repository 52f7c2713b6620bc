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
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "scene/Scene.h"
#include "tests/reader/LoadedModel.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string out, err;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<unsigned char> ReadBytes(const fs::path& path) {
    const std::string text = ReadText(path);
    return {text.begin(), text.end()};
}

#ifdef _WIN32
int ExitStatus(int status) {
    return status;
}
// cmd.exe takes away the outermost quotes of a command line that starts with one.
std::string ShellCommand(const std::string& command) {
    return "\"" + command + "\"";
}
#else
int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
std::string ShellCommand(const std::string& command) {
    return command;
}
#endif

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

fs::path MakeTempDir() {
    static int counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir =
            fs::temp_directory_path() /
            ("make-sample-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
        std::error_code error;
        if (fs::create_directory(dir, error)) {
            return dir;
        }
    }
    return {};
}

// Runs the generator with `args` (already quoted), its output captured in files in `scratch`.
RunResult RunGenerator(const std::string& args, const fs::path& scratch) {
    const fs::path out = scratch / "stdout.txt";
    const fs::path err = scratch / "stderr.txt";
    const std::string command =
        Quoted(MAKE_SAMPLE_PROGRAM) + " " + args + " >" + Quoted(out) + " 2>" + Quoted(err);
    const int status = std::system(ShellCommand(command).c_str());
    return {ExitStatus(status), ReadText(out), ReadText(err)};
}

struct Vec {
    double x, y, z;
};

Vec VertexOf(const Mesh& mesh, int index) {
    float xyz[3];
    ReadVertex(mesh, index, xyz);
    return {xyz[0], xyz[1], xyz[2]};
}

int FaceCountOf(const Mesh& mesh) {
    return mesh.faces != nullptr ? mesh.faces[0] : 0;
}

// A face as the walk-through draws it: its corners and the unit normal the reader gave it.
struct Face {
    std::size_t mesh;  // position in the mesh list
    int index;
    Vec corner[3];
    Vec normal;

    Vec Centroid() const {
        return {(corner[0].x + corner[1].x + corner[2].x) / 3,
                (corner[0].y + corner[1].y + corner[2].y) / 3,
                (corner[0].z + corner[1].z + corner[2].z) / 3};
    }
    bool OnGround() const { return corner[0].z == 0 && corner[1].z == 0 && corner[2].z == 0; }
};

// Every face of the loaded model. A face that names a vertex its mesh lacks is left out; the
// reader lists it among its problems.
std::vector<Face> LoadedFaces() {
    std::vector<Face> faces;
    const std::vector<const Mesh*> meshes = MeshList();
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const Mesh& mesh = *meshes[m];
        for (int i = 0; i < FaceCountOf(mesh); ++i) {
            const std::uint16_t* record = mesh.faces + 1 + 4 * i;
            if (record[0] >= mesh.vertexCount || record[1] >= mesh.vertexCount ||
                record[2] >= mesh.vertexCount) {
                continue;
            }
            const float* n = mesh.normals + 3 * i;
            faces.push_back(
                {m,
                 i,
                 {VertexOf(mesh, record[0]), VertexOf(mesh, record[1]), VertexOf(mesh, record[2])},
                 {n[0], n[1], n[2]}});
        }
    }
    return faces;
}

// The camera's eye height over the ground until the user raises it, and the distance of the
// projection's far plane.
constexpr double kEyeHeight = 3.0;
constexpr double kFarPlane = 3000.0;

class SampleFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(MakeTempDir());
        const RunResult run = RunGenerator(Quoted(*dir_ / "out"), *dir_);
        status_ = run.status;
        modelPath_ = new std::string((*dir_ / "out" / "kelm.3ds").string());
        model_ = new std::vector<unsigned char>(ReadBytes(*modelPath_));
        sound_ = new std::vector<unsigned char>(ReadBytes(*dir_ / "out" / "groud.wav"));
        scene_ = new Scene(modelPath_->c_str());
        faces_ = new std::vector<Face>(LoadedFaces());
        eye_ = {scene_->eye[0], scene_->eye[1], kEyeHeight};
    }
    static void TearDownTestSuite() {
        delete faces_;
        delete scene_;
        std::error_code ignored;
        fs::remove_all(*dir_, ignored);
        delete sound_;
        delete model_;
        delete modelPath_;
        delete dir_;
    }
    void SetUp() override {
        ASSERT_FALSE(dir_->empty());
        ASSERT_EQ(status_, 0);
        ASSERT_FALSE(model_->empty());
    }

    static double GroundDistanceFromEye(const Vec& p) {
        return std::hypot(p.x - eye_.x, p.y - eye_.y);
    }

    static inline fs::path* dir_ = nullptr;
    static inline int status_ = -1;
    static inline std::string* modelPath_ = nullptr;  // the scene keeps a pointer to it
    static inline std::vector<unsigned char>* model_ = nullptr;
    static inline std::vector<unsigned char>* sound_ = nullptr;
    static inline Scene* scene_ = nullptr;  // the only one: the mesh list is global
    static inline std::vector<Face>* faces_ = nullptr;
    static inline Vec eye_ = {0, 0, 0};  // where the walk-through starts
};

TEST_F(SampleFiles, ModelIsReadWholeWithEveryFaceOnItsVertices) {
    EXPECT_EQ(scene_->loaded, 1);
    // The file is the project's own: the reader must have had nothing to tolerate.
    EXPECT_EQ(ProblemsOf(*scene_), std::vector<std::string>{});
    EXPECT_EQ(scene_->bytesRead, static_cast<std::int32_t>(model_->size()));
    EXPECT_EQ(scene_->modelScale, 1.0f);
    EXPECT_LT(model_->size(), 3u << 20);

    const std::vector<const Mesh*> meshes = MeshList();
    ASSERT_FALSE(meshes.empty());
    std::size_t faces = 0;
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const Mesh& mesh = *meshes[m];
        SCOPED_TRACE("mesh " + std::to_string(m) + " of " + mesh.materialName);
        EXPECT_GT(FaceCountOf(mesh), 0);
        for (int i = 0; i < FaceCountOf(mesh); ++i) {
            for (int k = 0; k < 3; ++k) {
                ASSERT_LT(mesh.faces[1 + 4 * i + k], mesh.vertexCount) << "face " << i;
            }
        }
        faces += FaceCountOf(mesh);
    }
    EXPECT_GE(faces, 5000u);
    EXPECT_LE(faces, 40000u);
}

TEST_F(SampleFiles, EveryMeshHasTheColourOfTheMaterialItNames) {
    const std::vector<const Material*> materials = MaterialList(*scene_);
    const std::vector<const Mesh*> meshes = MeshList();
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const Mesh& mesh = *meshes[m];
        SCOPED_TRACE("mesh " + std::to_string(m) + " of " + mesh.materialName);
        ASSERT_NE(mesh.materialColor, nullptr);
        const auto owner = std::find_if(materials.begin(), materials.end(), [&](const Material* x) {
            return x->color == mesh.materialColor;
        });
        ASSERT_NE(owner, materials.end());
        EXPECT_STREQ((*owner)->name, mesh.materialName);
    }
}

TEST_F(SampleFiles, MaterialsHaveDistinctColoursAndAreUsed) {
    const std::vector<const Material*> materials = MaterialList(*scene_);
    ASSERT_FALSE(materials.empty());
    std::set<std::tuple<float, float, float>> colours;
    for (const Material* material : materials) {
        EXPECT_TRUE(material->hasColor) << material->name;
        EXPECT_TRUE(
            colours.emplace(material->color[0], material->color[1], material->color[2]).second)
            << material->name << " repeats a colour";
    }
    std::set<const float*> used;
    for (const Mesh* mesh : MeshList()) {
        used.insert(mesh->materialColor);
    }
    used.erase(nullptr);
    EXPECT_EQ(used.size(), materials.size());
}

TEST_F(SampleFiles, GroundFacesUpAndReachesPastTheFarPlane) {
    double lowX = 0, highX = 0, lowY = 0, highY = 0;
    std::size_t groundFaces = 0;
    for (const Face& face : *faces_) {
        if (!face.OnGround()) {
            continue;
        }
        ++groundFaces;
        EXPECT_GT(face.normal.z, 0.999) << "mesh " << face.mesh << " face " << face.index;
        for (const Vec& p : face.corner) {
            lowX = std::min(lowX, p.x);
            highX = std::max(highX, p.x);
            lowY = std::min(lowY, p.y);
            highY = std::max(highY, p.y);
        }
    }
    // A grid, not a few large quads: the fog and the light are computed per vertex.
    EXPECT_GE(groundFaces, 2000u);
    EXPECT_LE(lowX, eye_.x - kFarPlane);
    EXPECT_GE(highX, eye_.x + kFarPlane);
    EXPECT_LE(lowY, eye_.y - kFarPlane);
    EXPECT_GE(highY, eye_.y + kFarPlane);
}

TEST_F(SampleFiles, StartViewHasBuildingsOnBothSidesAndShapesNearby) {
    // The view from the start runs down -y. Count the faces standing above the ground within
    // the first 100 units ahead (inside the first fog), left and right of the street.
    std::size_t left = 0, right = 0, near = 0;
    for (const Face& face : *faces_) {
        if (face.OnGround()) {
            continue;
        }
        const Vec c = face.Centroid();
        const double distance = GroundDistanceFromEye(c);
        near += distance >= 5 && distance <= 80 ? 1 : 0;
        if (c.y < eye_.y && c.y > eye_.y - 100 && c.z > 6) {
            left += c.x > eye_.x + 8 && c.x < eye_.x + 80 ? 1 : 0;
            right += c.x < eye_.x - 8 && c.x > eye_.x - 80 ? 1 : 0;
        }
    }
    EXPECT_GE(left, 40u);
    EXPECT_GE(right, 40u);
    EXPECT_GE(near, 500u);
}

TEST_F(SampleFiles, LandmarksStandFarOffButInsideTheFarPlane) {
    double tallest300 = 0, tallest1000 = 0;
    const std::vector<const Mesh*> meshes = MeshList();
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        for (int v = 0; v < meshes[m]->vertexCount; ++v) {
            const Vec p = VertexOf(*meshes[m], v);
            if (p.z <= 0) {
                continue;
            }
            const double distance = std::hypot(GroundDistanceFromEye(p), p.z - eye_.z);
            EXPECT_LT(distance, kFarPlane) << "mesh " << m << " vertex " << v;
            if (distance >= 300) {
                tallest300 = std::max(tallest300, p.z);
            }
            if (distance >= 1000) {
                tallest1000 = std::max(tallest1000, p.z);
            }
        }
    }
    EXPECT_GE(tallest300, 150);
    EXPECT_GE(tallest1000, 150);
}

TEST_F(SampleFiles, EveryRunWritesTheSameBytes) {
    const RunResult again = RunGenerator(Quoted(*dir_ / "again"), *dir_);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(ReadBytes(*dir_ / "again" / "kelm.3ds") == *model_);
    EXPECT_TRUE(ReadBytes(*dir_ / "again" / "groud.wav") == *sound_);
}

std::uint32_t U32(const std::vector<unsigned char>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<unsigned char>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
std::string Tag(const std::vector<unsigned char>& bytes, std::size_t at) {
    return {reinterpret_cast<const char*>(bytes.data() + at), 4};
}

TEST_F(SampleFiles, SoundIsATwentySecondSoftPcmWave) {
    const std::vector<unsigned char>& wav = *sound_;
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Tag(wav, 8), "WAVE");
    ASSERT_EQ(Tag(wav, 12), "fmt ");
    ASSERT_EQ(U32(wav, 16), 16u);
    const unsigned channels = U16(wav, 22);
    const unsigned rate = U32(wav, 24);
    EXPECT_EQ(U16(wav, 20), 1u);  // PCM
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    EXPECT_EQ(U16(wav, 34), 16u);
    EXPECT_EQ(U16(wav, 32), channels * 2);
    EXPECT_EQ(U32(wav, 28), rate * channels * 2);
    ASSERT_EQ(Tag(wav, 36), "data");
    const std::uint32_t dataBytes = U32(wav, 40);
    ASSERT_EQ(dataBytes, wav.size() - 44);
    const double seconds = static_cast<double>(dataBytes) / (rate * channels * 2);
    EXPECT_GE(seconds, 18.0);
    EXPECT_LE(seconds, 22.0);

    const std::size_t count = dataBytes / 2;
    const auto sample = [&](std::size_t i) {
        return static_cast<std::int16_t>(U16(wav, 44 + 2 * i)) / 32768.0;
    };
    double peak = 0, sumSquares = 0;
    for (std::size_t i = 0; i < count; ++i) {
        peak = std::max(peak, std::fabs(sample(i)));
        sumSquares += sample(i) * sample(i);
    }
    // Soft, but not silent.
    EXPECT_LE(peak, 0.5);
    EXPECT_GE(std::sqrt(sumSquares / count), 0.03);
    // Faded in and out: the first and last tenth of a second are near silence.
    const std::size_t tenth = rate * channels / 10;
    double edges = 0;
    for (std::size_t i = 0; i < tenth; ++i) {
        edges = std::max({edges, std::fabs(sample(i)), std::fabs(sample(count - 1 - i))});
    }
    EXPECT_LE(edges, 0.01);
}

struct CommandCase {
    const char* name;
    const char* args;
    int status;
    const char* out;  // expected in standard output
    bool errorText;   // something on standard error
};

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << "make-sample " << c.args;
}

class MakeSampleCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(MakeSampleCommand, ExitsWithItsStatus) {
    const CommandCase& c = GetParam();
    const fs::path scratch = MakeTempDir();
    ASSERT_FALSE(scratch.empty());
    // A regular file where a directory should be: neither can be created inside it.
    std::ofstream(scratch / "file") << "x";
    std::string args = c.args;
    const std::size_t at = args.find("SCRATCH");
    if (at != std::string::npos) {
        args.replace(at, 7, scratch.string());
        args = "\"" + args + "\"";
    }
    const RunResult run = RunGenerator(args, scratch);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_EQ(!run.err.empty(), c.errorText) << run.err;
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Usage, MakeSampleCommand,
    ::testing::Values(CommandCase{"Version", "--version", 0, "make-sample " MAKE_SAMPLE_VERSION,
                                  false},
                      CommandCase{"Help", "--help", 0, "Usage: make-sample DIR", false},
                      CommandCase{"NoDirectory", "", 2, "", true},
                      CommandCase{"TwoDirectories", "a b", 2, "", true},
                      CommandCase{"UnknownOption", "--bogus", 2, "", true},
                      CommandCase{"DirectoryUnderAFile", "SCRATCH/file/sub", 1, "", true},
                      CommandCase{"NewNestedDirectory", "SCRATCH/new/dir", 0, "kelm.3ds", false}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

}  // namespace
