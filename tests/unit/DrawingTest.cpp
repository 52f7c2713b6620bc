// Drawing the loaded model, as the GL recorder sees it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "scene/Scene.h"
#include "tests/support/ModelFile.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }

    // Loads the model and draws it once; returns the GL calls of the pass.
    std::vector<fake::Call> Draw(const ChunkWriter& model) {
        file_ = std::make_unique<ModelFile>(model.bytes());
        scene_ = std::make_unique<Scene>(file_->path());
        fake::CallLog().clear();
        scene_->DrawModel();
        return fake::CallLog();
    }
    // Same, by name only.
    std::vector<std::string> Names(const std::vector<fake::Call>& calls) {
        std::vector<std::string> names;
        for (const fake::Call& call : calls) {
            names.push_back(call.name);
        }
        return names;
    }

    void TearDown() override {
        scene_.reset();
        file_.reset();
    }
    std::unique_ptr<ModelFile> file_;
    std::unique_ptr<Scene> scene_;
};

// A mesh named `name` with the given vertices and faces, grouped under `material` unless empty.
void AddMesh(ChunkWriter& w, const std::string& name, const std::vector<float>& xyz,
             const std::vector<std::uint16_t>& faces, const std::string& material = "") {
    w.Begin(0x4000);
    w.String(name);
    w.Begin(0x4100);
    w.VertexList(xyz);
    w.Begin(0x4120);
    w.FaceRecords(faces);
    if (!material.empty()) {
        w.MaterialGroup(material, {0});
    }
    w.End();
    w.End();
    w.End();
}

TEST_F(Drawing, NothingIsDrawnWithoutALoadedModel) {
    Scene scene("no-such-model.3ds");
    fake::CallLog().clear();
    scene.DrawModel();
    EXPECT_TRUE(fake::CallLog().empty());
}

TEST_F(Drawing, AFileWithNoObjectGetsTheScaleAndWhiteOnly) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.MasterScale(2.0f);
    w.End();
    w.End();

    const auto calls = Draw(w);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "glScalef");
    EXPECT_EQ(calls[0].args, (std::vector<double>{2.0, 2.0, 2.0}));
    EXPECT_EQ(calls[1].name, "glColor3f");
    EXPECT_EQ(calls[1].args, (std::vector<double>{1.0, 1.0, 1.0}));
    EXPECT_EQ(g_meshCursor, nullptr);
}

TEST_F(Drawing, EachFaceSendsItsNormalThenItsVerticesInFileOrder) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.Material("Red", 255, 0, 51);
    AddMesh(w, "Box", {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {0, 1, 2, 3, 2, 1}, "red");
    AddMesh(w, "Empty", {}, {});
    w.End();
    w.End();

    const auto calls = Draw(w);

    EXPECT_EQ(Names(calls),
              (std::vector<std::string>{"glScalef", "glColor3f", "glBegin", "glColor3f",
                                        "glNormal3f", "glVertex3f", "glVertex3f", "glVertex3f",
                                        "glNormal3f", "glVertex3f", "glVertex3f", "glVertex3f",
                                        "glEnd", "glBegin", "glColor3f", "glEnd"}));
    EXPECT_EQ(calls[2].args, std::vector<double>{GL_TRIANGLES});
    EXPECT_EQ(calls[3].args, (std::vector<double>{1.0f, 0.0f, 51 / 255.0f}));
    EXPECT_EQ(calls[4].args, (std::vector<double>{0.0, -0.0, 1.0}));
    EXPECT_EQ(calls[5].args, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(calls[6].args, (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(calls[7].args, (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(calls[9].args, (std::vector<double>{5, 5, 5}));
    EXPECT_EQ(calls[10].args, (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(calls[11].args, (std::vector<double>{1, 0, 0}));
    // The mesh with no faces and no material: a batch with only its colour, white.
    EXPECT_EQ(calls[14].args, (std::vector<double>{1.0, 1.0, 1.0}));
    EXPECT_EQ(g_meshCursor, nullptr);
}

TEST_F(Drawing, NodesWithoutMeshDataAndFacesWithoutVerticesDrawNothingOfThem) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.Begin(0x4000);  // a light: its node has no mesh data
    w.String("Sun");
    w.Begin(0x4600);
    w.Float(0);
    w.Float(0);
    w.Float(10);
    w.End();
    w.End();
    // The second face names vertex 7 of a mesh with three.
    AddMesh(w, "Broken", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 0, 1, 7});
    w.End();
    w.End();

    const auto calls = Draw(w);

    EXPECT_EQ(Names(calls),
              (std::vector<std::string>{"glScalef", "glColor3f", "glBegin", "glColor3f", "glEnd",
                                        "glBegin", "glColor3f", "glNormal3f", "glVertex3f",
                                        "glVertex3f", "glVertex3f", "glEnd"}));
}

}  // namespace
