// The reader: the table of model files, well-formed and damaged, and the values a dump does
// not show exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "tests/reader/LoadedModel.h"
#include "tests/reader/ModelCases.h"

using namespace test_models;

namespace test_models {
// Names the case in failure messages instead of printing its bytes.
void PrintTo(const ModelCase& model, std::ostream* out) {
    *out << model.name;
}
}  // namespace test_models

namespace {

class ModelTable : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelTable, LoadsWhatItHoldsWholeAndListsWhatItTolerated) {
    const ModelCase& model = GetParam();
    ModelFile file(model.bytes);
    Scene scene(file.path());
    EXPECT_EQ(DumpOf(scene), model.dump);
    std::vector<Problem> problems;
    for (const ReadProblem& problem : scene.problems) {
        problems.push_back({problem.kind, problem.chunkId, problem.offset});
    }
    EXPECT_EQ(problems, model.problems) << testing::PrintToString(ProblemsOf(scene));
    if (!model.materials.empty()) {
        EXPECT_EQ(Printed([&](std::FILE* out) { PrintMaterialDump(scene, out); }), model.materials);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ModelTable, testing::ValuesIn(ModelCases()),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return std::string(info.param.name);
                         });

// Cameras in file order; one without its whole target is left out and listed.
TEST(Reader, CamerasKeepTheirPositionAndTarget) {
    ModelFile file(EditorFile([](ChunkWriter& w) {
        w.CameraObject("Cut", {1, 2, 3, 4, 5});
        w.CameraObject("Front", {1, 2, 3, 4, 5, 6, 0, 45});
        w.CameraObject("Back", {-1, -2, -3, 0, 0, 0});
    }));
    Scene scene(file.path());
    ASSERT_EQ(scene.cameras.size(), 2u);
    const ModelCamera& front = scene.cameras[0];
    EXPECT_EQ(front.name + scene.cameras[1].name, "FrontBack");
    const float* p = front.position;
    const float* t = front.target;
    EXPECT_EQ(std::vector<float>({p[0], p[1], p[2], t[0], t[1], t[2]}),
              std::vector<float>({1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(scene.problems.size(), 1u);
    EXPECT_EQ(scene.problems[0].kind, ProblemKind::kCameraTooShort);
}

// One face per row: its corners and the normal it must get bit for bit (zeros' signs too).
TEST(Reader, FaceNormalsFollowTheRoundingRules) {
    const struct {
        std::vector<float> xyz;
        float normal[3];
    } cases[] = {
        {{0, 0, 0, 1, 0, 0, 0, 1, 1}, {0, -0.707106769f, 0.707106769f}},  // normalised
        {{0, 0, 0, 1, 1, 1, 2, 2, 2}, {0, 0, 0}},  // an exactly zero cross product stays zero
        // Edges rounded to float leave a cross product that is not zero.
        {{0, 0, 0, 0.1f, 0.2f, 0.3f, 0.3f, 0.6f, 0.9f}, {-0.89442724f, 0.44721362f, 0}},
        // The sum of squares, stored as a float, underflows to zero: the length becomes 1.
        {{1e-20f, 0, 0, 0, 1e-20f, 0, 0, 0, 1e-20f},
         {9.9999461e-41f, 9.9999461e-41f, 9.9999461e-41f}},
    };
    for (const auto& c : cases) {
        ModelFile file(EditorFile([&](ChunkWriter& w) {
            w.MeshObject({"F", c.xyz, {0, 1, 2}, {}});
        }));
        Scene scene(file.path());
        const Mesh& mesh = *MeshList().at(0);
        ASSERT_EQ(FaceCount(mesh), 1);
        EXPECT_EQ(std::memcmp(mesh.normals, c.normal, sizeof c.normal), 0)
            << mesh.normals[0] << " " << mesh.normals[1] << " " << mesh.normals[2];
    }
}

// A mesh whose normals two threads share gets those of its faces in small meshes, bit for bit.
TEST(Reader, BigMeshNormalsEqualThoseOfTheSameFacesInSmallMeshes) {
    constexpr int kFaces = 65000, kSmallFaces = 13000;  // 300 vertices: vertex 300 is missing
    const auto index = [](int i) { return static_cast<std::uint16_t>(i); };
    std::vector<float> xyz;
    std::vector<std::uint16_t> abc;
    for (int i = 0; i < kFaces; ++i) {
        if (i < 300) {
            xyz.insert(xyz.end(), {std::sin(0.7f * i) * 5, std::cos(1.3f * i) * 7, 0.1f * i});
        }
        abc.insert(abc.end(), {index(i % 300), index(i * 7 % 300), index(i * 13 % 301)});
    }
    ModelFile file(EditorFile([&](ChunkWriter& w) {
        w.MeshObject({"Big", xyz, abc, {}});
        for (auto at = abc.begin(); at != abc.end(); at += 3 * kSmallFaces) {
            w.MeshObject({"Small", xyz, {at, at + 3 * kSmallFaces}, {}});
        }
    }));
    Scene scene(file.path());
    const std::vector<const Mesh*> meshes = MeshList();
    ASSERT_EQ(meshes.size(), 1u + kFaces / kSmallFaces);
    for (int k = 0; k < kFaces / kSmallFaces; ++k) {
        EXPECT_EQ(std::memcmp(meshes[0]->normals + 3 * k * kSmallFaces, meshes[1 + k]->normals,
                              3 * sizeof(float) * kSmallFaces),
                  0);
    }
    const std::string unusable = ProblemsOf(scene).at(0);  // every 301st face names vertex 300
    EXPECT_NE(unusable.find(": 216 of 65000 faces"), std::string::npos) << unusable;
}

TEST(Reader, ProblemsPastTheTwoHundredthAreListedAsOne) {
    ModelFile file(Written([](ChunkWriter& w) {
        for (int i = 0; i < 202; ++i) {
            w.Header(chunk::kMasterScale, 6);
        }
    }));
    Scene scene(file.path());
    ASSERT_EQ(scene.problems.size(), 201u);
    EXPECT_EQ(scene.problems[199].kind, ProblemKind::kScaleTooShort);
    EXPECT_EQ(scene.problems[200].kind, ProblemKind::kTooManyProblems);
}

// The summary: the problems with their identifiers and offsets; the box as drawn, times the
// master scale, and the cameras as the file gives them; a texture found beside the model, and
// the meshes it textures counted with the transparent and smoothed ones.
TEST(Reader, SummaryListsProblemsBoxCamerasAndTexturesBesideTheModel) {
    namespace fs = std::filesystem;
    const fs::path folder = ScratchPath("folder");
    fs::create_directories(folder);
    std::ofstream(folder / "Brick.jpg") << "image";
    const std::string model = (folder / "quad.3ds").string();
    const std::pair<Bytes, std::vector<std::string>> cases[] = {
        {CutAt(RedTriangle(), 107),
         {"vertices     2\nfaces        0\nbox          empty: no face can be drawn\ncameras      "
          "0\nproblems     6\n",
          "  chunk 0x4D4D at offset 0: length 143 runs past the end of the file; 101 body bytes "
          "taken\n",
          "  chunk 0x4110 at offset 69: body holds 2 of 3 vertices\n"}},
        {EditorFile([](ChunkWriter& w) {
             w.MasterScale(2.0f);
             w.MeshObject({"T", {-1, 0, 3, 1, 0, 3, 0, 2, 4}, {0, 1, 2}, {}});
             w.CameraObject("Front", {1, 2, 3, 4, 5, 6});
         }),
         {"faces        1\nbox minimum  -2 0 6\nbox maximum  2 4 8\nbox size     4 4 2\ncameras    "
          "  1\n  Front: position 1 2 3 target 4 5 6\nproblems     0\n"}},
        {EditorFile([](ChunkWriter& w) { w.Material(std::string(300, 'n'), 1, 2, 3); }),
         {": a name of 300 bytes is cut to 255\n"}},
        {TexturedQuad(),
         {"materials    2\n  Brick: texture BRICK.JPG, found as " +
          (folder / "Brick.jpg").string() +
          "\nmeshes       1\ntextured     1\ntransparent  1\nsmoothed     1\n"}},
    };
    for (const auto& [bytes, lines] : cases) {
        std::ofstream(model, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        Scene scene(model.c_str());
        const std::string text =
            Printed([&](std::FILE* out) { PrintSummary(scene, model.c_str(), out); });
        for (const std::string& line : lines) {
            EXPECT_NE(text.find(line), std::string::npos) << text;
        }
    }
    fs::remove_all(folder);
}

}  // namespace

namespace {

// Big meshes, some with a face naming a missing vertex, each followed by a master scale too
// short to read: the meshes' problems are found on the second thread, the scales' at once, and
// the list keeps the order they lie in, capped as ever. With and without the face normals.
class ProblemsFoundAside : public testing::TestWithParam<bool> {};

TEST_P(ProblemsFoundAside, KeepTheirPlaceInTheList) {
    constexpr int kFaces = 5000;  // enough to be handed to the second thread
    struct Expected {
        ProblemKind kind;
        long offset;
    };
    std::vector<Expected> expected;
    ChunkWriter w;
    w.Begin(chunk::kMain);
    w.Begin(chunk::kEditor);
    for (int mesh = 0; mesh < 130; ++mesh) {
        std::vector<std::uint16_t> abc;
        for (int face = 0; face < kFaces; ++face) {
            const bool missing = mesh % 3 != 0 && face == mesh;
            abc.insert(abc.end(), {0, 1, static_cast<std::uint16_t>(missing ? 3 : 2)});
        }
        w.Begin(chunk::kNamedObject);
        w.String("M" + std::to_string(mesh));
        w.Begin(chunk::kTriMesh);
        w.VertexList({0, 0, 0, 1, 0, 0, 0, 1, 0});
        if (mesh % 3 != 0) {
            expected.push_back({ProblemKind::kFacesNotDrawable, long(w.bytes().size())});
        }
        w.Begin(chunk::kFaceList);
        w.FaceRecords(abc);
        w.End();
        w.End();
        w.End();
        expected.push_back({ProblemKind::kScaleTooShort, long(w.bytes().size())});
        w.Header(chunk::kMasterScale, 8);
        w.U16(0);
    }
    w.End();
    w.End();
    ASSERT_GT(expected.size(), 201u);
    ModelFile file(w.bytes());
    Scene scene(nullptr);
    scene.faceNormalsWanted = GetParam();
    // Opened again, as a dropped model is, the list is the same: none of the first reading's.
    for (int opening = 0; opening < 2; ++opening) {
        scene.OpenModel(file.path());
        ASSERT_EQ(scene.problems.size(), 201u);
        for (std::size_t i = 0; i < 200; ++i) {
            EXPECT_EQ(scene.problems[i].kind, expected[i].kind) << i;
            EXPECT_EQ(scene.problems[i].offset, expected[i].offset) << i;
        }
        EXPECT_EQ(scene.problems[200].kind, ProblemKind::kTooManyProblems);
        EXPECT_EQ(scene.problems[200].offset, expected[200].offset) << "named after the 201st";
        EXPECT_NE(ProblemsOf(scene)[1].find(": 1 of 5000 faces"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Normals, ProblemsFoundAside, testing::Bool());

}  // namespace

// Each face's material in 16 bits while a mesh's groups name fewer than 65,536 materials, and
// the same answers once more materials widen it.
TEST(Reader, FaceMaterialsAnswerAlikeNarrowAndWidened) {
    constexpr std::size_t kFaces = 80000;  // a material of its own for 6 faces in 7: 68,571
    std::vector<Material> materials(kFaces);
    const auto materialOf = [&](std::size_t face) -> const Material* {
        return face % 7 != 0 ? &materials[face] : nullptr;
    };
    FaceMaterials faces;
    faces.Assign(kFaces);
    ASSERT_EQ(faces.size(), kFaces);
    const auto expectSetUpTo = [&](std::size_t end) {
        std::size_t face = 0;
        for (const Material* material : faces) {
            ASSERT_EQ(material, face < end ? materialOf(face) : nullptr) << face;
            ++face;
        }
        EXPECT_EQ(face, kFaces);
    };
    for (std::size_t face = 0; face < kFaces; ++face) {
        faces.Set(face, materialOf(face));
        if (face == 60000) {
            expectSetUpTo(face + 1);  // narrow
        }
    }
    expectSetUpTo(kFaces);        // widened on the way
    faces.Set(1, materialOf(2));  // a material named before keeps its index
    EXPECT_EQ(faces[1], materialOf(2));
    EXPECT_EQ(faces[2], materialOf(2));
}
