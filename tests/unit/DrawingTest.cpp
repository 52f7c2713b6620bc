// Drawing the loaded model, as the GL recorder sees it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/fake/FakePlatform.h"
#include "scene/Scene.h"
#include "tests/support/ModelFile.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// The GL calls of one drawing pass of the model `write` writes, as "name arg arg ...".
template <typename Write>
std::vector<std::string> DrawnCalls(const Write& write) {
    ChunkWriter w;
    w.BeginModel();
    write(w);
    w.EndModel();
    fake::Reset();
    ModelFile file(w.bytes());
    Scene scene(file.path());
    fake::CallLog().clear();
    scene.DrawModel();
    EXPECT_EQ(g_meshCursor, nullptr);
    std::vector<std::string> calls;
    for (const fake::Call& call : fake::CallLog()) {
        std::ostringstream line;
        line << call.name;
        for (double arg : call.args) {
            line << ' ' << arg;
        }
        calls.push_back(line.str());
    }
    return calls;
}

TEST(Drawing, NothingIsDrawnWithoutALoadedModel) {
    Scene scene("no-such-model.3ds");
    fake::CallLog().clear();
    scene.DrawModel();
    EXPECT_TRUE(fake::CallLog().empty());
}

// The light must not depend on the model's units: a scale other than 1 has GL renormalise the
// normals it scales; a scale of 1 draws with the same calls as ever.
TEST(Drawing, TheScaleIsAppliedAndNormalsRenormalisedUnlessItIsOne) {
    const std::string normalize = "glEnable " + std::to_string(GL_NORMALIZE);
    const std::vector<std::pair<float, std::vector<std::string>>> cases = {
        {1.0f, {"glScalef 1 1 1", "glColor3f 1 1 1"}},
        {2.0f, {"glScalef 2 2 2", normalize, "glColor3f 1 1 1"}},
        {0.25f, {"glScalef 0.25 0.25 0.25", normalize, "glColor3f 1 1 1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DrawnCalls([&](ChunkWriter& w) { w.MasterScale(c.first); }), c.second) << c.first;
    }
}

TEST(Drawing, EachDrawableFaceSendsItsNormalThenItsVerticesInFileOrder) {
    const auto write = [](ChunkWriter& w) {
        w.Material("Red", 255, 0, 0);
        // Faces 2 to 4 each name, in one corner, a vertex the mesh does not have.
        w.MeshObject({"Box",
                      {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5},
                      {0, 1, 2, 3, 2, 1, 4, 1, 2, 0, 4, 2, 0, 1, 4},
                      {"red"}});
        w.Begin(chunk::kNamedObject);  // a light: its node has no mesh data
        w.String("Sun");
        w.End();
    };
    const std::string triangles = "glBegin " + std::to_string(GL_TRIANGLES);
    EXPECT_EQ(DrawnCalls(write),
              (std::vector<std::string>{
                  "glScalef 1 1 1", "glColor3f 1 1 1", triangles, "glColor3f 1 0 0",
                  "glNormal3f 0 -0 1", "glVertex3f 0 0 0", "glVertex3f 1 0 0", "glVertex3f 0 1 0",
                  "glNormal3f -0.436852 -0.436852 0.786334", "glVertex3f 5 5 5", "glVertex3f 0 1 0",
                  "glVertex3f 1 0 0", "glEnd", triangles, "glColor3f 1 1 1", "glEnd"}));
}

}  // namespace
