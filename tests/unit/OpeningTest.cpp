// Opening a model: its steps are told as they go, and an opening given up at any of them (or
// read and never prepared) leaves the model shown before as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"
#include "tests/support/ModelFile.h"
#include "tests/support/Opening.h"
#include "viewer/ModelOpening.h"

namespace {

// Says every step it is told and gives up at the `stopAt`th report (0: never).
class Steps : public OpeningProgress {
public:
    explicit Steps(int stopAt) : stopAt_(stopAt) {}
    bool Report(const char* step, double fraction) override {
        EXPECT_TRUE(fraction >= 0.0 && fraction <= 1.0) << step << " " << fraction;
        if (said.empty() || said.back() != step) {
            said.push_back(step);
        }
        return ++reports != stopAt_;
    }
    std::vector<std::string> said;
    int reports = 0;

private:
    int stopAt_;
};

int MeshCount() {
    int count = 0;
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        ++count;
    }
    return count;
}

TEST(Opening, AnOpeningGivenUpAtAnyStepLeavesTheModelShownAsItWas) {
    fake::Reset();
    const ModelFile shown(Meshes(2)), next(Meshes(5));
    Scene scene(nullptr);
    OpenedModel first =
        OpenModel(scene, shown.path(), Opening(StartView::kFit, ModelDrawingStyle::kMaterials));
    ASSERT_TRUE(first.view);
    scene.StandAt({7, 8, 1, 90, 2});
    // Every step told in turn, the reading once for each chunk the walk meets.
    Steps all(0);
    {
        OpenedModel whole = OpenModel(
            scene, next.path(), Opening(StartView::kFit, ModelDrawingStyle::kMaterials), &all);
        ASSERT_TRUE(whole.view);
        EXPECT_EQ(all.said,
                  (std::vector<std::string>{"Reading", "Laying out", "Indexing for walking"}));
        EXPECT_EQ(MeshCount(), 5);
    }
    first = OpenModel(scene, shown.path(), Opening(StartView::kFit, ModelDrawingStyle::kMaterials));
    scene.StandAt({7, 8, 1, 90, 2});
    // One more: read, and given up before it is prepared.
    for (int stopAt = 1; stopAt <= all.reports + 1; ++stopAt) {
        Steps steps(stopAt);
        OpenedModel given;
        {
            ModelOpening opening(scene, next.path(),
                                 Opening(StartView::kFit, ModelDrawingStyle::kMaterials), &steps);
            opening.Read();
            if (stopAt <= all.reports) {
                given = opening.Prepare();
            }
        }
        EXPECT_FALSE(given.view) << stopAt;
        EXPECT_EQ(given.problem, "");
        EXPECT_EQ(MeshCount(), 2) << "given up at " << steps.said.back();
        EXPECT_EQ(scene.loaded, 1);
        EXPECT_EQ(scene.ModelPath(), shown.path());
        EXPECT_EQ(scene.eye[0], 7);
        EXPECT_EQ(scene.yawDegrees, 90.0f);
        // The view of the model shown still draws it.
        fake::CallLog().clear();
        first.view->DrawModel();
        EXPECT_FALSE(fake::CallLog().empty());
    }
}

}  // namespace

namespace {

// A floor of 20 x 20 m with a wall across it, in metres.
std::vector<unsigned char> FloorAndWall() {
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject(
        {"Floor", {-10, -10, 0, 10, -10, 0, 10, 10, 0, -10, 10, 0}, {0, 1, 2, 0, 2, 3}, {}});
    w.MeshObject({"Wall", {-10, 5, 0, 10, 5, 0, 10, 5, 3, -10, 5, 3}, {0, 1, 2, 0, 2, 3}, {}});
    w.EndModel();
    return w.bytes();
}

// A model laid out for drawing is walked where the layout holds its faces, and its meshes are
// given back; drawn as made, it keeps them and is walked there. Walking goes alike.
TEST(Opening, ALaidOutModelGivesItsMeshesBackAndWalksAsOneDrawnAsMade) {
    fake::Reset();
    const ModelFile model(FloorAndWall());
    const auto walk = [&](ModelDrawingStyle style, bool meshesKept) {
        Scene scene(nullptr);
        OpenOptions options = Opening(StartView::kFit, style);
        options.walk = true;
        options.units = LengthUnit::kMetre;
        const OpenedModel opened = OpenModel(scene, model.path(), options);
        EXPECT_TRUE(opened.view);
        for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
            EXPECT_EQ(mesh->vertices != nullptr, meshesKept) << mesh->materialName;
            EXPECT_EQ(FaceCount(*mesh) == 2, meshesKept);
        }
        std::vector<double> eyes;
        fake::Fake().heldKeys = {platform::kKeyW};
        for (int frame = 0; frame < 400 && opened.view; ++frame) {
            opened.view->MoveCamera();
            eyes.insert(eyes.end(), {scene.eye[0], scene.eye[1], scene.eye[2]});
        }
        fake::Fake().heldKeys.clear();
        return eyes;
    };
    const std::vector<double> asMade = walk(ModelDrawingStyle::kMeshColours, true);
    EXPECT_EQ(walk(ModelDrawingStyle::kMaterials, false), asMade);
    EXPECT_EQ(walk(ModelDrawingStyle::kMaterialsImmediate, false), asMade);
    ASSERT_FALSE(asMade.empty());
    EXPECT_NE(asMade[1], asMade[asMade.size() - 2]) << "the walk went somewhere";
}

}  // namespace
