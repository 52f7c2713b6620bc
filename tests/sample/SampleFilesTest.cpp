// Runs make-sample into a temporary directory and checks the files it writes: a model the
// walk-through can read whole and that gives its start view something to see, and a soft
// ambient sound of about 20 seconds.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>  // the exit status within std::system's result
#endif

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/sample/ModelWalk.h"

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

Vec Corner(const WalkedMesh& mesh, std::size_t face, int k) {
    const std::size_t v = mesh.corners[3 * face + k];
    return {mesh.xyz[3 * v], mesh.xyz[3 * v + 1], mesh.xyz[3 * v + 2]};
}

// The unit normal the walk-through gives a face: (P2 - P1) x (P3 - P2), normalised.
Vec FaceNormal(const WalkedMesh& mesh, std::size_t face) {
    const Vec a = Corner(mesh, face, 0), b = Corner(mesh, face, 1), c = Corner(mesh, face, 2);
    const Vec u = {b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec v = {c.x - b.x, c.y - b.y, c.z - b.z};
    const Vec n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return length == 0.0 ? n : Vec{n.x / length, n.y / length, n.z / length};
}

Vec Centroid(const WalkedMesh& mesh, std::size_t face) {
    const Vec a = Corner(mesh, face, 0), b = Corner(mesh, face, 1), c = Corner(mesh, face, 2);
    return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}

bool OnGround(const WalkedMesh& mesh, std::size_t face) {
    return Corner(mesh, face, 0).z == 0 && Corner(mesh, face, 1).z == 0 &&
           Corner(mesh, face, 2).z == 0;
}

// The walk-through's eye at start.
constexpr Vec kEye = {0, 15, 3};

double GroundDistanceFromEye(const Vec& p) {
    return std::hypot(p.x - kEye.x, p.y - kEye.y);
}

class SampleFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(MakeTempDir());
        const RunResult run = RunGenerator(Quoted(*dir_ / "out"), *dir_);
        status_ = run.status;
        model_ = new std::vector<unsigned char>(ReadBytes(*dir_ / "out" / "kelm.3ds"));
        sound_ = new std::vector<unsigned char>(ReadBytes(*dir_ / "out" / "groud.wav"));
        walked_ = new WalkedModel(WalkModel(*model_));
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(*dir_, ignored);
        delete walked_;
        delete sound_;
        delete model_;
        delete dir_;
    }
    void SetUp() override {
        ASSERT_FALSE(dir_->empty());
        ASSERT_EQ(status_, 0);
        ASSERT_FALSE(model_->empty());
    }

    static inline fs::path* dir_ = nullptr;
    static inline int status_ = -1;
    static inline std::vector<unsigned char>* model_ = nullptr;
    static inline std::vector<unsigned char>* sound_ = nullptr;
    static inline WalkedModel* walked_ = nullptr;
};

TEST_F(SampleFiles, ModelIsAWellFormedTreeTheWalkThroughReadsWhole) {
    for (const std::string& problem : walked_->problems) {
        ADD_FAILURE() << problem;
    }
    EXPECT_TRUE(walked_->hasScale);
    EXPECT_EQ(walked_->scale, 1.0f);
    EXPECT_LT(model_->size(), 3u << 20);

    std::size_t faces = 0;
    for (const WalkedMesh& mesh : walked_->meshes) {
        faces += mesh.corners.size() / 3;
        EXPECT_GT(mesh.corners.size(), 0u) << mesh.name;
        // One colour per mesh: a single material group.
        EXPECT_EQ(mesh.groups.size(), 1u) << mesh.name;
    }
    EXPECT_GE(faces, 5000u);
    EXPECT_LE(faces, 40000u);
}

TEST_F(SampleFiles, MaterialsHaveDistinctColoursAndAreUsed) {
    std::set<std::tuple<int, int, int>> colours;
    for (const WalkedMaterial& material : walked_->materials) {
        EXPECT_TRUE(material.hasColor) << material.name;
        EXPECT_TRUE(colours.emplace(material.red, material.green, material.blue).second)
            << material.name << " repeats a colour";
    }
    std::set<std::string> used;
    for (const WalkedMesh& mesh : walked_->meshes) {
        used.insert(mesh.groups.begin(), mesh.groups.end());
    }
    EXPECT_EQ(used.size(), walked_->materials.size());
}

TEST_F(SampleFiles, GroundFacesUpAndReachesPastTheFarPlane) {
    double lowX = 0, highX = 0, lowY = 0, highY = 0;
    std::size_t groundFaces = 0;
    for (const WalkedMesh& mesh : walked_->meshes) {
        for (std::size_t face = 0; face < mesh.corners.size() / 3; ++face) {
            if (!OnGround(mesh, face)) {
                continue;
            }
            ++groundFaces;
            EXPECT_GT(FaceNormal(mesh, face).z, 0.999) << mesh.name << " face " << face;
            for (int k = 0; k < 3; ++k) {
                const Vec p = Corner(mesh, face, k);
                lowX = std::min(lowX, p.x);
                highX = std::max(highX, p.x);
                lowY = std::min(lowY, p.y);
                highY = std::max(highY, p.y);
            }
        }
    }
    // A grid, not a few large quads: the fog and the light are computed per vertex.
    EXPECT_GE(groundFaces, 2000u);
    EXPECT_LE(lowX, kEye.x - 3000);
    EXPECT_GE(highX, kEye.x + 3000);
    EXPECT_LE(lowY, kEye.y - 3000);
    EXPECT_GE(highY, kEye.y + 3000);
}

TEST_F(SampleFiles, StartViewHasBuildingsOnBothSidesAndShapesNearby) {
    // The view from the start runs down -y. Count the faces standing above the ground within
    // the first 100 units ahead (inside the first fog), left and right of the street.
    std::size_t left = 0, right = 0, near = 0;
    for (const WalkedMesh& mesh : walked_->meshes) {
        for (std::size_t face = 0; face < mesh.corners.size() / 3; ++face) {
            const Vec c = Centroid(mesh, face);
            if (OnGround(mesh, face)) {
                continue;
            }
            const double distance = GroundDistanceFromEye(c);
            near += distance >= 5 && distance <= 80 ? 1 : 0;
            if (c.y < kEye.y && c.y > kEye.y - 100 && c.z > 6) {
                left += c.x > 8 && c.x < 80 ? 1 : 0;
                right += c.x < -8 && c.x > -80 ? 1 : 0;
            }
        }
    }
    EXPECT_GE(left, 40u);
    EXPECT_GE(right, 40u);
    EXPECT_GE(near, 500u);
}

TEST_F(SampleFiles, LandmarksStandFarOffButInsideTheFarPlane) {
    double tallest300 = 0, tallest1000 = 0;
    for (const WalkedMesh& mesh : walked_->meshes) {
        for (std::size_t v = 0; v < mesh.xyz.size() / 3; ++v) {
            const Vec p = {mesh.xyz[3 * v], mesh.xyz[3 * v + 1], mesh.xyz[3 * v + 2]};
            if (p.z <= 0) {
                continue;
            }
            const double distance =
                std::sqrt(std::pow(GroundDistanceFromEye(p), 2) + std::pow(p.z - kEye.z, 2));
            // The projection's far plane lies 3000 units from the eye.
            EXPECT_LT(distance, 3000) << mesh.name;
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
