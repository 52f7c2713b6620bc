// The reader on well-formed files: every value it must produce, exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/reader/DamagedModels.h"
#include "tests/reader/LoadedModel.h"
#include "tests/reader/TestModels.h"

using namespace test_models;

namespace {

TEST(Reader, SmallestCompleteModelLoadsEveryValue) {
    const Bytes bytes = RedTriangle();
    ASSERT_EQ(bytes.size(), 143u);
    ModelFile file(bytes);
    Scene scene(file.path());

    EXPECT_EQ(scene.loaded, 1);
    EXPECT_EQ(scene.bytesRead, 143);
    EXPECT_EQ(scene.modelScale, 1.0f);
    EXPECT_TRUE(scene.problems.empty());

    const auto materials = MaterialList(scene);
    ASSERT_EQ(materials.size(), 1u);
    EXPECT_STREQ(materials[0]->name, "Red");
    EXPECT_TRUE(materials[0]->hasColor);
    EXPECT_EQ(materials[0]->color[0], 1.0f);
    EXPECT_EQ(materials[0]->color[1], 0.0f);
    EXPECT_EQ(materials[0]->color[2], 0.0f);

    const auto meshes = MeshList();
    ASSERT_EQ(meshes.size(), 1u);
    const Mesh& mesh = *meshes[0];
    EXPECT_EQ(g_meshCursor, &mesh);
    ASSERT_EQ(mesh.vertexCount, 3);
    const float expected[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i) {
        float xyz[3];
        ReadVertex(mesh, i, xyz);
        EXPECT_EQ(std::memcmp(xyz, expected[i], sizeof xyz), 0) << "vertex " << i;
    }
    ASSERT_NE(mesh.faces, nullptr);
    EXPECT_EQ(mesh.faces[0], 1);
    EXPECT_EQ(mesh.faces[1], 0);
    EXPECT_EQ(mesh.faces[2], 1);
    EXPECT_EQ(mesh.faces[3], 2);
    EXPECT_EQ(mesh.faces[4], 0);
    ASSERT_NE(mesh.normals, nullptr);
    EXPECT_EQ(mesh.normals[0], 0.0f);
    EXPECT_EQ(mesh.normals[1], 0.0f);
    EXPECT_TRUE(std::signbit(mesh.normals[1]));
    EXPECT_EQ(mesh.normals[2], 1.0f);
    EXPECT_STREQ(mesh.materialName, "Red");
    EXPECT_EQ(mesh.materialColor, materials[0]->color);
}

TEST(Reader, DumpOfTheSmallestModelIsTheCanonicalText) {
    ModelFile file(RedTriangle());
    Scene scene(file.path());
    EXPECT_EQ(DumpOf(scene),
              "loaded 1\n"
              "modelScale 1\n"
              "bytesRead 143\n"
              "material 0 name=Red color=1 0 0\n"
              "mesh 0 vertices=3 faces=1 material=Red color=1 0 0\n"
              "  v 0 0 0\n"
              "  v 1 0 0\n"
              "  v 0 1 0\n"
              "  f 0 1 2 0 n 0 -0 1\n");
}

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
            MeshObject(w, {"F", c.xyz, {0, 1, 2}, {}});
        }));
        Scene scene(file.path());
        const auto meshes = MeshList();
        ASSERT_EQ(meshes.size(), 1u);
        ASSERT_EQ(meshes[0]->faces[0], 1);
        EXPECT_EQ(std::memcmp(meshes[0]->normals, c.normal, sizeof c.normal), 0)
            << meshes[0]->normals[0] << " " << meshes[0]->normals[1] << " "
            << meshes[0]->normals[2];
    }
}

TEST(Reader, EmptyFaceListHoldsOnlyItsCount) {
    ModelFile file(EditorFile([](ChunkWriter& w) {
        w.Begin(0x4000);
        w.String("Box");
        w.Begin(0x4100);
        w.VertexList(kUnitTriangle);
        w.Begin(0x4120);
        w.FaceRecords({});
        w.End();
        w.End();
        w.End();
    }));
    Scene scene(file.path());
    const auto meshes = MeshList();
    ASSERT_EQ(meshes.size(), 1u);
    ASSERT_NE(meshes[0]->faces, nullptr);
    EXPECT_EQ(meshes[0]->faces[0], 0);
    EXPECT_NE(meshes[0]->normals, nullptr);
    EXPECT_TRUE(scene.problems.empty());
}

// Material matching: case-insensitive for ASCII letters only, newest material first, the
// colour of the last group that matched.
struct MatchCase {
    const char* name;
    std::vector<std::pair<std::string, int>> materials;  // name, green (red and blue 0)
    std::vector<std::string> groups;
    const char* materialName;
    int greenOrNone;  // -1: no colour
};

TEST(Reader, MaterialGroupsMatchMaterialsReadBeforeThem) {
    const MatchCase cases[] = {
        {"letter case is not told apart", {{"Brick", 51}}, {"BRICK"}, "BRICK", 51},
        {"bytes that are not ASCII letters must be equal",
         {{"A[\xC4", 51}},
         {"a{\xE4"},
         "a{\xE4",
         -1},
        {"of two same-named materials the later one",
         {{"Red", 51}, {"RED", 102}},
         {"red"},
         "red",
         102},
        {"A then B, only A known: name B, colour A", {{"A", 51}}, {"A", "B"}, "B", 51},
        {"no group leaves the mesh white", {{"Red", 51}}, {}, "", -1},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFile file(EditorFile([&](ChunkWriter& w) {
            for (const auto& [name, green] : c.materials) {
                w.Material(name, 0, static_cast<std::uint8_t>(green), 0);
            }
            MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, c.groups});
        }));
        Scene scene(file.path());
        const auto meshes = MeshList();
        ASSERT_EQ(meshes.size(), 1u);
        EXPECT_STREQ(meshes[0]->materialName, c.materialName);
        if (c.greenOrNone < 0) {
            EXPECT_EQ(meshes[0]->materialColor, nullptr);
        } else {
            ASSERT_NE(meshes[0]->materialColor, nullptr);
            EXPECT_EQ(meshes[0]->materialColor[1], static_cast<float>(c.greenOrNone / 255.0));
            // It points into the material node, not at a copy.
            bool pointsIntoAMaterial = false;
            for (const Material* m : MaterialList(scene)) {
                pointsIntoAMaterial |= meshes[0]->materialColor == m->color;
            }
            EXPECT_TRUE(pointsIntoAMaterial);
        }
    }
}

TEST(Reader, MaterialsStandNewestFirstAndColourTheNameBeforeThem) {
    ModelFile file(EditorFile([](ChunkWriter& w) {
        w.Material("First", 255, 0, 51);
        w.Begin(0xAFFF);
        w.Begin(0xA000);
        w.String("Second");
        w.End();
        w.Begin(0xA000);
        w.String("Third");
        w.End();
        w.DiffuseColor(0, 0, 255);
        w.End();
    }));
    Scene scene(file.path());
    const auto materials = MaterialList(scene);
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_STREQ(materials[0]->name, "Third");
    EXPECT_STREQ(materials[1]->name, "Second");
    EXPECT_STREQ(materials[2]->name, "First");
    EXPECT_TRUE(materials[0]->hasColor);
    EXPECT_EQ(materials[0]->color[2], 1.0f);
    EXPECT_FALSE(materials[1]->hasColor);
    EXPECT_EQ(materials[2]->color[0], 1.0f);
    EXPECT_EQ(materials[2]->color[1], 0.0f);
    EXPECT_EQ(materials[2]->color[2], 0.2f);
}

TEST(Reader, ObjectsWithoutAMeshFirstKeepAnEmptyNode) {
    const Bytes bytes = EditorFile([](ChunkWriter& w) {
        w.Begin(0x4000);
        w.String("Lamp");
        w.Begin(0x4600);
        w.Float(1);
        w.Float(2);
        w.Float(3);
        w.End();
        w.End();
        // A camera first, its mesh second: the walk meets the mesh on its own and skips it.
        w.Begin(0x4000);
        w.String("Late");
        w.Begin(0x4700);
        w.Float(0);
        w.End();
        w.Begin(0x4100);
        w.VertexList(kUnitTriangle);
        w.End();
        w.End();
        MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {}});
    });
    ModelFile file(bytes);
    Scene scene(file.path());
    const auto meshes = MeshList();
    ASSERT_EQ(meshes.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(meshes[i]->vertexCount, 0);
        EXPECT_EQ(meshes[i]->vertices, nullptr);
        EXPECT_EQ(meshes[i]->faces, nullptr);
        EXPECT_EQ(meshes[i]->normals, nullptr);
        EXPECT_EQ(meshes[i]->materialColor, nullptr);
    }
    EXPECT_EQ(meshes[2]->vertexCount, 3);
    EXPECT_EQ(meshes[2]->faces[0], 1);
    EXPECT_EQ(scene.bytesRead, static_cast<std::int32_t>(bytes.size()));
}

TEST(Reader, VertexListAfterTheFaceListIsSkipped) {
    ModelFile file(EditorFile([](ChunkWriter& w) {
        w.Begin(0x4000);
        w.String("Box");
        w.Begin(0x4100);
        w.VertexList(kUnitTriangle);
        w.Begin(0x4120);
        w.FaceRecords({0, 1, 2});
        w.End();
        w.VertexList({5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8});
        w.End();
        w.End();
    }));
    Scene scene(file.path());
    const auto meshes = MeshList();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->vertexCount, 3);
    float xyz[3];
    ReadVertex(*meshes[0], 1, xyz);
    EXPECT_EQ(xyz[0], 1.0f);
    EXPECT_TRUE(scene.problems.empty());
}

// The walk acts on identifiers wherever it meets them and skips what it does not know.
TEST(Reader, TopLevelWalk) {
    struct WalkCase {
        const char* name;
        Bytes bytes;
        float scale;
        std::size_t meshCount;
    };
    const WalkCase cases[] = {
        {"master scale 2.5", EditorFile([](ChunkWriter& w) { w.MasterScale(2.5f); }), 2.5f, 0},
        {"the later of two master scales wins", EditorFile([](ChunkWriter& w) {
             w.MasterScale(2.5f);
             w.MasterScale(0.25f);
         }),
         0.25f, 0},
        {"an unknown chunk between two objects is skipped", EditorFile([](ChunkWriter& w) {
             MeshObject(w, {"One", kUnitTriangle, {0, 1, 2}, {}});
             w.Begin(0x4000 + 0x0D);
             w.String("not an object");
             MeshObject(w, {"Inside", kUnitTriangle, {0, 1, 2}, {}});
             w.End();
             MeshObject(w, {"Two", kUnitTriangle, {0, 1, 2}, {}});
         }),
         1.0f, 2},
        {"a named object outside the editor chunk is read",
         [] {
             ChunkWriter w;
             w.Begin(0x4D4D);
             MeshObject(w, {"Loose", kUnitTriangle, {0, 1, 2}, {}});
             w.Begin(0x3D3D);
             w.MasterScale(3.0f);
             w.End();
             w.End();
             return w.bytes();
         }(),
         3.0f, 1},
        {"any sequence of chunks is walked",
         [] {
             ChunkWriter w;
             w.MasterScale(4.0f);
             MeshObject(w, {"Bare", kUnitTriangle, {0, 1, 2}, {}});
             return w.bytes();
         }(),
         4.0f, 1},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFile file(c.bytes);
        Scene scene(file.path());
        EXPECT_EQ(scene.loaded, 1);
        EXPECT_EQ(scene.modelScale, c.scale);
        EXPECT_EQ(scene.bytesRead, static_cast<std::int32_t>(c.bytes.size()));
        EXPECT_EQ(MeshList().size(), c.meshCount);
        for (const Mesh* mesh : MeshList()) {
            EXPECT_EQ(mesh->vertexCount, 3);
        }
        EXPECT_TRUE(scene.problems.empty());
    }
}

TEST(Reader, EmptyFileLoadsAnEmptyModel) {
    ModelFile file({});
    Scene scene(file.path());
    EXPECT_EQ(scene.loaded, 1);
    EXPECT_EQ(scene.bytesRead, 0);
    EXPECT_EQ(scene.modelScale, 1.0f);
    EXPECT_EQ(g_meshHead->next, nullptr);
    EXPECT_EQ(g_meshCursor, g_meshHead);
    EXPECT_EQ(scene.materials->next, nullptr);
    EXPECT_TRUE(scene.problems.empty());
}

TEST(Reader, MissingFileLeavesTheModelUnloaded) {
    Scene scene((testing::TempDir() + "no_such_model.3ds").c_str());
    EXPECT_EQ(scene.loaded, 0);
    EXPECT_EQ(scene.bytesRead, 0);
    EXPECT_EQ(scene.modelScale, 1.0f);
    EXPECT_EQ(g_meshHead->next, nullptr);
    EXPECT_EQ(scene.materials->next, nullptr);
    EXPECT_EQ(scene.file, nullptr);
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
    EXPECT_NE(text.find("vertices     2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("problems     6\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  chunk 0x4110 at offset 69: body holds 2 of 3 vertices\n"),
              std::string::npos)
        << text;
}

}  // namespace
