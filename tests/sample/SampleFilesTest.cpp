// The files make-sample writes (into made/ and again/, run by ctest before these): a model the
// walk-through reads whole and whose start view has something to see, and a soft ambient sound
// of about 20 seconds; with --textured (made-textured/, again-textured/) a model that uses every
// part of a material the reader knows, with its images beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "images/TextureFolder.h"
#include "scene/Scene.h"
#include "tests/reader/LoadedModel.h"

namespace {

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr double kEyeHeight = 3.0;    // until the user raises it
constexpr double kFarPlane = 3000.0;  // of the projection

constexpr const char* kModel = SAMPLE_DIR "/made/kelm.3ds";
constexpr const char* kTexturedModel = SAMPLE_DIR "/made-textured/kelm.3ds";

// One scene at a time, since the mesh list is global: read again when another file is asked for.
const Scene& Loaded(const std::string& path) {
    static std::unique_ptr<Scene> scene;
    static std::string loadedPath;
    if (path != loadedPath) {
        scene.reset();
        scene = std::make_unique<Scene>(path.c_str());
        loadedPath = path;
    }
    return *scene;
}

const Scene& Sample() {
    return Loaded(kModel);
}

TEST(SampleFiles, ModelIsReadWholeInItsMaterialsColours) {
    // The file is the project's own: the reader must have had nothing to tolerate.
    const std::size_t size = ReadBytes(kModel).size();
    EXPECT_EQ(std::make_tuple(Sample().loaded, Sample().bytesRead, Sample().modelScale),
              std::make_tuple(1, static_cast<std::int32_t>(size), 1.0f));
    EXPECT_EQ(ProblemsOf(Sample()), std::vector<std::string>{});
    // Every mesh is drawn in its own material's colour.
    std::map<const float*, std::string> owners;
    for (const Material* material : MaterialList(Sample())) {
        EXPECT_TRUE(material->hasColor) << material->name;
        owners[material->color] = material->name;
    }
    std::size_t faces = 0;
    for (const Mesh* mesh : MeshList()) {
        EXPECT_EQ(owners[mesh->materialColor], mesh->materialName);
        faces += FaceCount(*mesh);
    }
    EXPECT_TRUE(faces >= 5000 && faces <= 40000) << faces;
}

// From the start, looking down -y: the ground, a grid facing up (fog and light are per vertex),
// reaches past the far plane every way; buildings stand either side of the street within the
// first fog (100 units ahead); nothing stands past the far plane; tall landmarks stand far off.
TEST(SampleFiles, StartViewHasGroundBuildingsAndLandmarksInsideTheFarPlane) {
    const double* eye = Sample().eye;
    std::size_t groundFaces = 0, groundFacingUp = 0, left = 0, right = 0;
    double reach[4] = {0, 0, 0, 0}, farthest = 0, tallestFar = 0;  // reach: -x, x, -y, y
    for (const Mesh* mesh : MeshList()) {
        for (int i = 0; i < FaceCount(*mesh); ++i) {
            float p[3][3];
            for (int k = 0; k < 3; ++k) {
                ReadVertex(*mesh, FaceRecord(*mesh, i)[k], p[k]);
            }
            const bool ground = p[0][2] == 0 && p[1][2] == 0 && p[2][2] == 0;
            groundFaces += ground ? 1 : 0;
            groundFacingUp += ground && mesh->normals[3 * i + 2] > 0.999f ? 1 : 0;
            for (const float* corner : p) {
                const double x = corner[0] - eye[0], y = corner[1] - eye[1];
                const double distance = std::hypot(x, y, corner[2] - kEyeHeight);
                for (int side = 0; ground && side < 4; ++side) {
                    reach[side] = std::max(reach[side], (side % 2 ? 1 : -1) * (side < 2 ? x : y));
                }
                farthest = std::max(farthest, ground ? 0.0 : distance);
                tallestFar = std::max(tallestFar, !ground && distance >= 1000 ? corner[2] : 0.0);
                const bool ahead = !ground && y < 0 && y > -100 && corner[2] > 6;
                left += ahead && x > 8 && x < 80 ? 1 : 0;
                right += ahead && x < -8 && x > -80 ? 1 : 0;
            }
        }
    }
    EXPECT_GE(groundFaces, 2000u);
    EXPECT_EQ(groundFacingUp, groundFaces);
    EXPECT_GE(*std::min_element(reach, reach + 4), kFarPlane);
    EXPECT_GE(std::min(left, right), 120u);  // corners: some 40 faces
    EXPECT_LT(farthest, kFarPlane);
    EXPECT_GE(tallestFar, 150);
}

// Read whole; every map found beside the model although the model names it in upper case and
// the file is in lower case; each part of a material used somewhere.
TEST(SampleFiles, TexturedModelUsesEveryPartOfAMaterial) {
    const Scene& scene = Loaded(kTexturedModel);
    EXPECT_EQ(std::make_tuple(scene.loaded, ProblemsOf(scene)),
              std::make_tuple(1, std::vector<std::string>{}));
    std::size_t maps = 0, scaledMaps = 0, transparent = 0, twoSided = 0;
    for (const Material* material : MaterialList(scene)) {
        const std::string& map = material->textureFile;
        if (!map.empty()) {
            ++maps;
            EXPECT_TRUE(std::regex_match(map, std::regex("[A-Z0-9]{1,8}\\.[A-Z]{3}"))) << map;
            const std::filesystem::path found = TextureFolder(kTexturedModel).Find(map);
            EXPECT_TRUE(!found.empty() && found.filename() != map) << map;
        }
        scaledMaps += material->uScale != 1 || material->vScale != 1 || material->uOffset != 0 ||
                      material->vOffset != 0;
        transparent += material->transparency > 0;
        twoSided += material->twoSided;
    }
    std::size_t severalMaterials = 0, smoothed = 0;
    for (const Mesh* mesh : MeshList()) {
        // Coordinates for every vertex and a matched material for every face.
        EXPECT_EQ(mesh->textureCoords.size(), 2u * mesh->vertexCount) << mesh->materialName;
        const std::set<const Material*> used(mesh->faceMaterials.begin(),
                                             mesh->faceMaterials.end());
        EXPECT_TRUE(mesh->faceMaterials.size() == std::size_t(FaceCount(*mesh)) &&
                    used.count(nullptr) == 0);
        severalMaterials += used.size() >= 2;
        smoothed += !mesh->smoothingGroups.empty();
    }
    EXPECT_GE(maps, 8u);
    EXPECT_GE(std::min({scaledMaps, transparent, twoSided, severalMaterials, smoothed}), 1u);
}

// The same files, byte for byte, from both runs of each kind.
TEST(SampleFileBytes, EveryRunWritesTheSameBytes) {
    for (const std::string kind : {"", "-textured"}) {
        const std::filesystem::path made = SAMPLE_DIR "/made" + kind;
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(made)) {
            const std::string name = entry.path().filename().string();
            const std::vector<unsigned char> bytes = ReadBytes(entry.path().string());
            EXPECT_TRUE(!bytes.empty() &&
                        bytes == ReadBytes(SAMPLE_DIR "/again" + kind + "/" + name))
                << kind << " " << name;
            ++files;
        }
        EXPECT_EQ(files, kind.empty() ? 2u : 12u);
    }
}

TEST(SampleFileBytes, SoundIsATwentySecondSoftPcmWave) {
    const std::vector<unsigned char> wav = ReadBytes(SAMPLE_DIR "/made/groud.wav");
    ASSERT_GE(wav.size(), 44u);
    const auto number = [&](std::size_t at, std::size_t size) {  // on a little-endian machine
        std::uint32_t value = 0;
        std::memcpy(&value, &wav[at], size);
        return value;
    };
    const auto tag = [&](std::size_t at) { return std::string(&wav[at], &wav[at] + 4); };
    EXPECT_EQ(tag(0) + tag(8) + tag(12) + tag(36), "RIFFWAVEfmt data");
    // Mono 16-bit PCM at 22050 Hz, its data to the end of the file.
    EXPECT_EQ(
        std::vector<std::size_t>({number(4, 4), number(16, 4), number(20, 2), number(22, 2),
                                  number(24, 4), number(28, 4), number(32, 2), number(34, 2),
                                  number(40, 4)}),
        std::vector<std::size_t>({wav.size() - 8, 16, 1, 1, 22050, 44100, 2, 16, wav.size() - 44}));
    const std::size_t count = (wav.size() - 44) / 2;
    EXPECT_NEAR(count / 22050.0, 20.0, 2.0);
    // Soft but not silent, faded in and out: the first and last tenth of a second near silence.
    double peak = 0, sumSquares = 0, edges = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double sample = static_cast<std::int16_t>(number(44 + 2 * i, 2)) / 32768.0;
        peak = std::max(peak, std::fabs(sample));
        sumSquares += sample * sample;
        edges = i < 2205 || i >= count - 2205 ? std::max(edges, std::fabs(sample)) : edges;
    }
    EXPECT_LE(peak, 0.5);
    EXPECT_GE(std::sqrt(sumSquares / count), 0.03);
    EXPECT_LE(edges, 0.01);
}

}  // namespace
