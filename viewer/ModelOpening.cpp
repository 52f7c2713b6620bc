#include "viewer/ModelOpening.h"

#include "drawing/MaterialDrawing.h"
#include "scene/ModelFileCheck.h"

namespace {

// The walk-through's own drawing of the scene: one colour per mesh, one normal per face.
class MeshColourDrawer : public ModelDrawer {
public:
    explicit MeshColourDrawer(Scene& scene) : scene_(scene) {}
    void Draw() override { scene_.DrawModel(); }

private:
    Scene& scene_;
};

std::unique_ptr<ModelDrawer> MakeDrawer(Scene& scene, const OpenOptions& options) {
    switch (options.drawing) {
        case ModelDrawingStyle::kMaterials:
        case ModelDrawingStyle::kMaterialsImmediate:
            return std::make_unique<MaterialDrawing>(
                g_meshHead->next, scene.modelScale, scene.ModelPath(), options.textures,
                options.drawing == ModelDrawingStyle::kMaterials);
        case ModelDrawingStyle::kMeshColours:
            break;
    }
    return std::make_unique<MeshColourDrawer>(scene);
}

// A damaged model is shown as far as it could be read, with one line about what was passed over.
std::string DamageNote(const std::string& path, const Scene& scene) {
    const bool listFull = scene.problems.back().kind == ProblemKind::kTooManyProblems;
    return path + ": damaged; the reader passed over " + (listFull ? "more than " : "") +
           std::to_string(scene.problems.size() - listFull) + " problems (model-info \"" + path +
           "\" lists them)";
}

}  // namespace

OpenedModel OpenModel(Scene& scene, const std::string& path, const OpenOptions& options) {
    OpenedModel opened;
    if (const auto problem = CheckModelFile(path)) {
        opened.problem = DescribeModelFileProblem(path, *problem);
        return opened;
    }
    scene.OpenModel(path.c_str());
    if (scene.loaded == 0) {
        opened.problem = "cannot read model " + path;  // it went between the check and the read
        return opened;
    }
    if (options.view != StartView::kOriginal && options.up == UpAxis::kZ && LooksYUp(g_meshHead)) {
        opened.notes.push_back(path + " looks made with y up; --up y stands it upright");
    }
    const Placement placement = PlaceModel(scene, options.view, options.up, options.fit);
    if (options.view == StartView::kCamera && !placement.fromCamera) {
        opened.notes.push_back(path + " has no usable camera; the view is fitted");
    }
    if (!scene.problems.empty()) {
        opened.notes.push_back(DamageNote(path, scene));
    }
    opened.view = std::make_unique<NamedModelView>(scene, placement, MakeDrawer(scene, options));
    return opened;
}
