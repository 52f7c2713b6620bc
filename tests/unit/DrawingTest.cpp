// Drawing the loaded model, as the GL recorder sees it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include <cmath>

#include "platform/fake/FakePlatform.h"
#include "scene/ChunkIds.h"
#include "scene/Scene.h"
#include "tests/support/CallChecks.h"
#include "tests/support/ModelFile.h"
#include "tests/support/Opening.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/imagewriter/ImageWriters.h"
#include "viewer/ModelOpening.h"

namespace {

// Each drawable face sends its normal, then its vertices in file order. The light must not depend
// on the model's units: a scale other than 1 has GL renormalise the normals it scales; a scale of
// 1 draws with the same calls as ever.
TEST(Drawing, EachDrawableFaceSendsItsNormalAndVerticesScaledAndRenormalisedUnlessTheScaleIsOne) {
    const std::string normalize = CallLine("glEnable", {GL_NORMALIZE});
    const std::string triangles = CallLine("glBegin", {GL_TRIANGLES});
    const Lines mesh = {"glColor3f 1 1 1",
                        triangles,
                        "glColor3f 1 0 0",
                        "glNormal3f 0 0 1",
                        "glVertex3f 0 0 0",
                        "glVertex3f 1 0 0",
                        "glVertex3f 0 1 0",
                        "glNormal3f -0.436852 -0.436852 0.786334",
                        "glVertex3f 5 5 5",
                        "glVertex3f 0 1 0",
                        "glVertex3f 1 0 0",
                        "glEnd",
                        triangles,
                        "glColor3f 1 1 1",
                        "glEnd"};
    const std::pair<float, Lines> cases[] = {{1.0f, {"glScalef 1 1 1"}},
                                             {2.0f, {"glScalef 2 2 2", normalize}},
                                             {0.25f, {"glScalef 0.25 0.25 0.25", normalize}}};
    for (auto [scale, expected] : cases) {
        ChunkWriter w;
        w.BeginModel();
        w.MasterScale(scale);
        w.Material("Red", 255, 0, 0);
        // Faces 2 to 4 each name, in one corner, a vertex the mesh does not have.
        w.MeshObject({"Box",
                      {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5},
                      {0, 1, 2, 3, 2, 1, 4, 1, 2, 0, 4, 2, 0, 1, 4},
                      {"red"}});
        w.Begin(chunk::kNamedObject), w.String("Sun"), w.End();  // a light: no mesh data
        w.EndModel();
        fake::Reset();
        ModelFile file(w.bytes());
        Scene scene(file.path());
        fake::CallLog().clear();
        scene.DrawModel();
        EXPECT_EQ(g_meshCursor, nullptr);
        expected.insert(expected.end(), mesh.begin(), mesh.end());
        EXPECT_EQ(LoggedCalls(), expected) << scale;
    }
}

// Drawing a model as its author made it: every face in its batch's state, opaque batches in the
// order first used, then the transparent ones.
class MaterialsDrawing : public testing::Test {
protected:
    // Opens the model drawn with its materials and draws it twice, the opening and the first time
    // into firstPass_: the calls of the second, a frame like every later one, without the
    // per-corner normals and vertices (those stay in the log). Then opens it again.
    Lines FrameCalls(ChunkWriter& w) {
        w.EndModel();
        ModelFile file(w.bytes());
        Scene scene(nullptr);
        fake::CallLog().clear();
        Lines calls;
        const auto names = [](const char* call) {
            double sum = 0;
            for (const fake::Call& c : fake::CallsNamed(call)) {
                sum += c.args.at(0);
            }
            return sum;
        };
        double made = 0;
        {
            const OpenedModel opened = OpenModel(
                scene, file.path(), Opening(StartView::kOriginal, ModelDrawingStyle::kMaterials));
            opened.view->DrawModel();
            firstPass_ = LoggedCalls();
            made = names("glGenTextures");
            // The arrays are drawn from as long as the model is shown: they stay as they are.
            EXPECT_FALSE(fake::Fake().fixedArrays.empty());
            fake::CallLog().clear();
            opened.view->DrawModel();
            for (const fake::Call& c : fake::CallLog()) {
                if (c.name != "glNormal3f" && c.name != "glVertex3f") {
                    calls.push_back(CallLine(c.name, c.args));
                }
            }
        }
        EXPECT_TRUE(fake::Fake().fixedArrays.empty()) << "released with the model";
        // The next model opened deletes the texture objects of this one, all of them (its calls
        // are taken off the log again).
        const std::vector<fake::Call> drawn = fake::CallLog();
        fake::CallLog().clear();
        OpenModel(scene, file.path(), Opening(StartView::kOriginal, ModelDrawingStyle::kMaterials));
        EXPECT_EQ(names("glDeleteTextures"), made);
        fake::CallLog() = drawn;
        return calls;
    }
    // A TGA image of width x height pixels beside the model.
    std::string WriteTga(const std::string& name, int width, int height) {
        images_.push_back(testing::TempDir() + name);
        EXPECT_TRUE(
            WriteImageFile(images_.back(), EncodeTga(PatternPicture(width, height, 1, false), {})));
        return name;
    }
    void TearDown() override {
        for (const std::string& path : images_) {
            std::remove(path.c_str());
        }
    }
    std::vector<std::string> images_;
    Lines firstPass_;
};

TEST_F(MaterialsDrawing, BatchesByMaterialWithTexturesTwoSidedAndATransparentPass) {
    ChunkWriter w;
    w.BeginModel();
    w.BeginMaterial("Brick", 255, 0, 0);
    w.TextureMap(WriteTga("brick.tga", 128, 1), 2, 3, 0.5f, 0.25f), w.End();
    w.BeginMaterial("Glass", 0, 0, 255), w.Transparency(50), w.TwoSided(), w.End();
    w.BeginMaterial("Paint", 0, 255, 0), w.TwoSided(), w.End();
    w.BeginMaterial("Lost", 255, 255, 0), w.TextureMap("missing.tga"), w.End();
    w.BeginMaterial("Huge", 0, 255, 255), w.TextureMap(WriteTga("huge.tga", 16385, 1)), w.End();
    // Face 5 is in no group: the mesh's colour, that of its last group.
    w.MeshObject({"Wall",
                  {0, 0, 0, 1, 0, 0, 0, 1, 0},
                  {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2},
                  {},
                  0,
                  {{"Brick", {0}}, {"Glass", {1}}, {"Lost", {3}}, {"Huge", {4}}, {"Paint", {2}}},
                  {0, 0, 1, 0, 0, 1}});
    // No mapping coordinates: Brick's colour.
    w.MeshObject({"Plain", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, {"Brick"}});
    testing::internal::CaptureStderr();
    const Lines calls = FrameCalls(w);
    const std::string warnings = testing::internal::GetCapturedStderr();
    // Two lines each time the model opens (it is opened again after it is drawn).
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 4) << warnings;

    const auto call = [](const char* name, std::vector<double> args) {
        return CallLine(name, args);
    };
    // Uploaded with mipmaps, and filtered through them from afar.
    for (const std::string& upload :
         {call("gluBuild2DMipmaps", {GL_TEXTURE_2D, GL_RGBA, 128, 1}),  // the driver takes it
          call("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR}),
          call("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR})}) {
        EXPECT_NE(std::find(firstPass_.begin(), firstPass_.end(), upload), firstPass_.end())
            << upload;
    }
    const auto batch = [&](std::vector<double> rgba) {
        return Lines{call("glColor4f", rgba),
                     call("glDrawElements", {GL_TRIANGLES, 3, GL_UNSIGNED_SHORT})};
    };
    const Lines twoSidedOn = {call("glLightModeli", {GL_LIGHT_MODEL_TWO_SIDE, 1}),
                              call("glColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE})};
    const Lines twoSidedOff = {call("glLightModeli", {GL_LIGHT_MODEL_TWO_SIDE, 0}),
                               call("glColorMaterial", {GL_FRONT, GL_AMBIENT_AND_DIFFUSE})};
    const std::vector<Lines> parts = {
        {call("glScalef", {1, 1, 1}),
         call("glTexEnvi", {GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}),
         call("glEnable", {GL_TEXTURE_2D}), call("glBindTexture", {GL_TEXTURE_2D, 1})},
        // Brick, textured, white: u * 2 + 0.5, v * 3 + 0.25.
        batch({1, 1, 1, 1}),
        {call("glTexCoord2f", {0.5, 0.25}), call("glTexCoord2f", {2.5, 0.25}),
         call("glTexCoord2f", {0.5, 3.25}), call("glDisable", {GL_TEXTURE_2D})},
        twoSidedOn,
        batch({0, 1, 0, 1}),
        twoSidedOff,          // Paint
        batch({1, 1, 0, 1}),  // Lost
        batch({0, 1, 1, 1}),  // Huge
        batch({0, 1, 0, 1}),  // no group
        batch({1, 0, 0, 1}),  // Plain
        {call("glEnable", {GL_BLEND}), call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}),
         call("glDepthMask", {0})},
        twoSidedOn,
        batch({0, 0, 1, 0.5}),
        twoSidedOff,  // Glass
        {call("glDepthMask", {1}), call("glDisable", {GL_BLEND})}};
    Lines expected;
    for (const Lines& part : parts) {
        expected.insert(expected.end(), part.begin(), part.end());
    }
    EXPECT_EQ(calls, expected);
}

// Sending every face every frame draws what the parts laid out once draw, corner by corner, in
// glBegin and glEnd blocks of their own (a model small enough for one part a batch, all in view).
TEST_F(MaterialsDrawing, TheImmediateDrawingSendsTheCornersTheCompiledOneDraws) {
    ChunkWriter w;
    w.BeginModel();
    w.Material("Red", 255, 0, 0);
    w.BeginMaterial("Glass", 0, 0, 255), w.Transparency(50);
    w.TextureMap(WriteTga("glass.tga", 2, 2)), w.End();
    w.BeginMaterial("Brick", 200, 200, 200);
    w.TextureMap(WriteTga("wall.tga", 2, 2), 2, 3, 0.5f, 0.25f), w.End();
    w.MeshObject({"Wall",
                  {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1},
                  {0, 1, 2, 1, 3, 2, 0, 3, 1, 2, 3, 0},
                  {},
                  0,
                  {{"Red", {0}}, {"Glass", {1}}, {"Brick", {2}}},
                  {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f},
                  {1, 1, 0, 2}});
    w.EndModel();
    const ModelFile file(w.bytes());
    Scene scene(nullptr);
    const auto drawn = [&](ModelDrawingStyle style) {
        const OpenedModel opened =
            OpenModel(scene, file.path(), Opening(StartView::kOriginal, style));
        fake::CallLog().clear();
        opened.view->DrawModel();
        Lines corners;
        int open = 0;
        bool texturing = false;  // the last batch is textured: the frame turns it off
        for (const fake::Call& c : fake::CallLog()) {
            if ((c.name == "glEnable" || c.name == "glDisable") && c.args.at(0) == GL_TEXTURE_2D) {
                texturing = c.name == "glEnable";
            }
            if (c.name == "glBegin" || c.name == "glEnd") {
                open += c.name == "glBegin" ? 1 : -1;
                EXPECT_TRUE(open == 0 || open == 1) << "blocks do not nest";
            } else if (c.name == "glColor4f" || c.name == "glNormal3f" || c.name == "glVertex3f" ||
                       c.name == "glTexCoord2f") {
                corners.push_back(CallLine(c.name, c.args));
            }
        }
        EXPECT_EQ(open, 0) << "every block ends";
        EXPECT_FALSE(texturing);
        return corners;
    };
    const Lines compiled = drawn(ModelDrawingStyle::kMaterials);
    EXPECT_EQ(
        std::count_if(compiled.begin(), compiled.end(),
                      [](const std::string& line) { return line.rfind("glVertex3f", 0) == 0; }),
        12);
    EXPECT_EQ(drawn(ModelDrawingStyle::kMaterialsImmediate), compiled);
}

// A cube of side 2 about (1, 0, 0), two triangles a side, with smoothing masks per side (-x,
// +x, -y, +y, -z, +z). At vertex v a face's normal is the unit sum of v's components (from the
// centre) along the axes of the sides that meet there and share a bit with the face's side (its
// own side always).
TEST_F(MaterialsDrawing, SmoothingGroupsAverageTheNormalsOfFacesSharingABit) {
    const std::uint16_t sides[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                       {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    const std::uint32_t cases[][6] = {
        {0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 2, 2}, {1, 1, 2, 2, 3, 3}};
    std::vector<float> xyz;
    for (int v = 0; v < 8; ++v) {
        xyz.insert(xyz.end(), {v & 1 ? 2.0f : 0.0f, v & 2 ? 1.0f : -1.0f, v & 4 ? 1.0f : -1.0f});
    }
    // Each side on the cube's eight vertices, or on four of its own at the same places (as
    // files split vertices at seams, the +y and +z sides' at x = -0): faces meet where their
    // corners lie, whatever the indices.
    for (const bool shared : {true, false}) {
        for (const auto& masks : cases) {
            std::vector<std::uint16_t> abc;
            std::vector<std::uint32_t> faceMasks;
            std::vector<float> places = shared ? xyz : std::vector<float>{};
            for (int side = 0; side < 6; ++side) {
                std::uint16_t q[4];
                for (int k = 0; k < 4; ++k) {
                    q[k] = shared ? sides[side][k] : std::uint16_t(4 * side + k);
                    if (!shared) {
                        places.insert(places.end(), xyz.begin() + 3 * sides[side][k],
                                      xyz.begin() + 3 * sides[side][k] + 3);
                        float& x = places[places.size() - 3];
                        x = side % 2 == 1 && x == 0.0f ? -0.0f : x;
                    }
                }
                abc.insert(abc.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
                faceMasks.insert(faceMasks.end(), {masks[side], masks[side]});
            }
            ChunkWriter w;
            w.BeginModel();
            w.MeshObject({"Cube", places, abc, {}, 0, {}, {}, faceMasks});
            const Lines calls = FrameCalls(w);
            const bool smoothed = std::count(std::begin(masks), std::end(masks), 0u) < 6;
            EXPECT_EQ(std::count(calls.begin(), calls.end(), CallLine("glShadeModel", {GL_SMOOTH})),
                      smoothed ? 1 : 0);
            const std::vector<fake::Call> normals = fake::CallsNamed("glNormal3f");
            const std::vector<fake::Call> vertices = fake::CallsNamed("glVertex3f");
            ASSERT_EQ(normals.size(), 36u);
            for (std::size_t corner = 0; corner < 36; ++corner) {
                const int side = static_cast<int>(corner / 6);
                if (masks[side] == 0 && corner % 3 != 2) {
                    continue;  // flat: a face is lit at its last corner alone
                }
                const std::vector<double>& v = vertices[corner].args;
                std::vector<double> expected(3, 0.0);
                double axes = 0;
                for (int axis = 0; axis < 3; ++axis) {
                    const double fromCentre = v[axis] - (axis == 0 ? 1.0 : 0.0);
                    const int sideThere = 2 * axis + (fromCentre > 0);
                    if (sideThere == side || (masks[sideThere] & masks[side]) != 0) {
                        expected[axis] = fromCentre, axes += 1;
                    }
                }
                for (double& component : expected) {
                    component /= std::sqrt(axes);  // each component is 0, 1 or -1
                }
                ExpectNear(normals[corner].args, expected, 1e-6);
            }
        }
    }
}

// A big model is sent in runs of at least 8,192 triangles with a flush after each, so that a
// software renderer draws them as the rest are sent (a small one is sent whole). Its tiles lie
// apart, and no part is empty where nothing lies between them.
TEST_F(MaterialsDrawing, ABigModelIsFlushedEveryRunOfTrianglesSent) {
    for (const int faces : {20000, 60000}) {
        ChunkWriter w;
        w.BeginModel();
        for (int tile = 0; tile < faces / 20000; ++tile) {
            MeshObjectSpec mesh{"T" + std::to_string(tile), {}, {}, {}};
            for (int v = 0; v < 10201; ++v) {  // a 101 x 101 grid
                mesh.xyz.insert(mesh.xyz.end(), {float(tile * 150 + v % 101), float(v / 101), 0});
            }
            for (int f = 0; f < 20000; ++f) {
                const auto a = std::uint16_t(f / 2 % 100 + f / 200 * 101);
                mesh.abc.insert(mesh.abc.end(), {a, std::uint16_t(a + 1 + f % 2 * 101),
                                                 std::uint16_t(a + 101 + f % 2 - f % 2)});
            }
            w.MeshObject(mesh);
        }
        w.EndModel();
        const ModelFile file(w.bytes());
        Scene scene(nullptr);
        std::vector<fake::Call> compiled;
        {
            const OpenedModel opened = OpenModel(
                scene, file.path(), Opening(StartView::kFit, ModelDrawingStyle::kMaterials));
            ASSERT_TRUE(opened.view);
            fake::CallLog().clear();
            opened.view->DrawModel();
            compiled = fake::CallLog();
        }
        std::vector<double> runs{0};  // corners sent between flushes
        for (const fake::Call& c : compiled) {
            if (c.name == "glDrawElements") {
                EXPECT_GT(c.args[1], 0);
                runs.back() += c.args[1];
            } else if (c.name == "glFlush") {
                runs.push_back(0);
            }
        }
        EXPECT_EQ(std::accumulate(runs.begin(), runs.end(), 0.0), 3.0 * faces);
        EXPECT_LT(runs.back(), 3 * 8192);
        for (std::size_t run = 0; run + 1 < runs.size(); ++run) {
            EXPECT_GE(runs[run], 3 * 8192) << run;
            EXPECT_LT(runs[run], 3 * (8192 + 4096)) << run;
        }
        // Each part drawn from its own place in the arrays: the corners sent every frame, in
        // whatever order, are the faces' own.
        const auto corners = [](const std::vector<fake::Call>& log) {
            std::vector<std::vector<double>> sent;
            for (const fake::Call& c : log) {
                if (c.name == "glVertex3f" || c.name == "glNormal3f") {
                    sent.push_back(c.args);
                    sent.back().push_back(c.name == "glVertex3f");
                }
            }
            std::sort(sent.begin(), sent.end());
            return sent;
        };
        const OpenedModel immediate = OpenModel(
            scene, file.path(), Opening(StartView::kFit, ModelDrawingStyle::kMaterialsImmediate));
        fake::CallLog().clear();
        immediate.view->DrawModel();
        EXPECT_TRUE(corners(compiled) == corners(fake::CallLog()));
    }
}

}  // namespace
