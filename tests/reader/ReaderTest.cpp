// The reader: the table of model files, well-formed and damaged, and the values a dump does
// not show exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "tests/reader/LoadedModel.h"
#include "tests/reader/ModelCases.h"

using namespace test_models;

namespace test_models {
// Names the case in failure messages instead of printing its bytes.
void PrintTo(const ModelCase& model, std::ostream* out) {
    *out << model.name;
}
void PrintTo(const Problem& problem, std::ostream* out) {
    *out << "kind " << static_cast<int>(problem.kind) << " in 0x" << std::hex << problem.chunkId
         << std::dec << " at " << problem.offset;
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
    if (model.problems.empty()) {
        EXPECT_EQ(scene.bytesRead, static_cast<std::int32_t>(model.bytes.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ModelTable, testing::ValuesIn(ModelCases()),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return std::string(info.param.name);
                         });

// One face per row; the normal must match bit for bit (the sign of zeros included).
struct NormalCase {
    const char* name;
    std::vector<float> xyz;
    float normal[3];
};

TEST(Reader, FaceNormalsFollowTheRoundingRules) {
    const NormalCase cases[] = {
        {"counter-clockwise from above points up", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, -0.0f, 1}},
        {"clockwise from above points down", {0, 0, 0, 0, 1, 0, 1, 0, 0}, {0, 0, -1}},
        {"tilted face is normalised",
         {0, 0, 0, 1, 0, 0, 0, 1, 1},
         {0, -0.707106769f, 0.707106769f}},
        {"coincident vertices keep the zero normal", {3, 3, 3, 3, 3, 3, 3, 3, 3}, {0, 0, 0}},
        {"collinear with an exactly zero cross product", {0, 0, 0, 1, 1, 1, 2, 2, 2}, {0, 0, 0}},
        // Rounding the edges to float leaves a cross product that is not zero.
        {"collinear after rounding is normalised",
         {0, 0, 0, 0.1f, 0.2f, 0.3f, 0.3f, 0.6f, 0.9f},
         {-0.89442724f, 0.44721362f, 0}},
        // The sum of squares, stored as a float, underflows to zero: the length becomes 1 and
        // the cross product stays as it is.
        {"squares underflowing in float leave the cross product",
         {1e-20f, 0, 0, 0, 1e-20f, 0, 0, 0, 1e-20f},
         {9.9999461e-41f, 9.9999461e-41f, 9.9999461e-41f}},
    };
    for (const NormalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFile file(EditorFile([&](ChunkWriter& w) {
            w.MeshObject({"F", c.xyz, {0, 1, 2}, {}});
        }));
        Scene scene(file.path());
        const auto meshes = MeshList();
        ASSERT_EQ(meshes.size(), 1u);
        ASSERT_EQ(FaceCount(*meshes[0]), 1);
        EXPECT_EQ(std::memcmp(meshes[0]->normals, c.normal, sizeof c.normal), 0)
            << meshes[0]->normals[0] << " " << meshes[0]->normals[1] << " "
            << meshes[0]->normals[2];
    }
}

TEST(Reader, EmptyFaceListHoldsOnlyItsCount) {
    ModelFile file(WithBody(chunk::kFaceList, {0, 0}));
    Scene scene(file.path());
    const Mesh& mesh = *MeshList().at(0);
    ASSERT_NE(mesh.faces, nullptr);
    EXPECT_EQ(mesh.faces[0], 0);
    EXPECT_NE(mesh.normals, nullptr);
    EXPECT_TRUE(scene.problems.empty());
}

TEST(Reader, ProblemsPastTheTwoHundredthAreListedAsOne) {
    ModelFile file(Written([](ChunkWriter& w) {
        for (int i = 0; i < 202; ++i) {
            w.Begin(chunk::kMasterScale);
            w.End();
        }
    }));
    Scene scene(file.path());
    ASSERT_EQ(scene.problems.size(), 201u);
    EXPECT_EQ(scene.problems[199].kind, ProblemKind::kScaleTooShort);
    EXPECT_EQ(scene.problems[200].kind, ProblemKind::kTooManyProblems);
}

TEST(Reader, MissingFileLeavesTheModelUnloaded) {
    Scene scene((testing::TempDir() + "no_such_model.3ds").c_str());
    EXPECT_EQ(scene.loaded, 0);
    EXPECT_EQ(g_meshHead->next, nullptr);
    EXPECT_EQ(scene.materials->next, nullptr);
}

TEST(Reader, SummaryListsTheProblemsWithIdentifierAndOffset) {
    ModelFile file(CutAt(RedTriangle(), 107));
    Scene scene(file.path());
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    PrintSummary(scene, "cut.3ds", out);
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    EXPECT_NE(text.find("vertices     2\nfaces        0\nproblems     6\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  chunk 0x4D4D at offset 0: length 143 runs past the end of the file; "
                        "101 body bytes taken\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  chunk 0x4110 at offset 69: body holds 2 of 3 vertices\n"),
              std::string::npos)
        << text;
}

}  // namespace
