#include "viewer/ModelOpening.h"

#include <algorithm>

#include "drawing/MaterialDrawing.h"
#include "platform/Platform.h"
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

// Whether the drawing lays the model out in arrays of its own, which walking reads too: the
// meshes are then read without face normals, left where the file has them and given back as
// soon as they are laid out.
bool LaysOut(ModelDrawingStyle style) {
    return style != ModelDrawingStyle::kMeshColours;
}

std::unique_ptr<ModelDrawer> MakeDrawer(Scene& scene, const OpenOptions& options,
                                        const Placement& placement) {
    if (!LaysOut(options.drawing)) {
        return std::make_unique<MeshColourDrawer>(scene);
    }
    VertexPlacement vertices;
    vertices.upright = placement.up == UpAxis::kY;
    vertices.centred = placement.centred;
    std::copy(placement.centre, placement.centre + 3, vertices.centre);
    return std::make_unique<MaterialDrawing>(
        g_meshHead->next, scene.modelScale, scene.ModelPath(), options.textures,
        options.drawing == ModelDrawingStyle::kMaterials, vertices,
        [&scene](const Mesh& mesh) { scene.ReleaseGeometry(mesh); });
}

// A damaged model is shown as far as it could be read, with one line about what was passed over.
std::string DamageNote(const std::string& path, const Scene& scene) {
    const bool listFull = scene.problems.back().kind == ProblemKind::kTooManyProblems;
    return path + ": damaged; the reader passed over " + (listFull ? "more than " : "") +
           std::to_string(scene.problems.size() - listFull) + " problems (model-info \"" + path +
           "\" lists them)";
}

}  // namespace

OpenedModel OpenModel(Scene& scene, const std::string& path, const OpenOptions& options,
                      OpeningProgress* progress) {
    OpenedModel opened;
    if (const auto problem = CheckModelFile(path)) {
        opened.problem = DescribeModelFileProblem(path, *problem);
        return opened;
    }
    const auto goOn = [progress](const char* step, double fraction) {
        return progress == nullptr || progress->Report(step, fraction);
    };
    Scene::HeldModel shown = scene.SetModelAside();
    // Gives the opening up: the model shown before is shown again, as it was.
    const auto giveUp = [&scene, &shown, &opened](std::string problem) {
        scene.TakeModelBack(std::move(shown));
        opened.view.reset();
        opened.problem = std::move(problem);
        opened.notes.clear();
        return std::move(opened);
    };
    bool readingGivenUp = false;
    scene.readingProgress = [&goOn, &readingGivenUp](long bytesRead, long fileSize) {
        readingGivenUp = !goOn("Reading", fileSize > 0 ? double(bytesRead) / fileSize : 0.0);
        return !readingGivenUp;
    };
    scene.faceNormalsWanted = !LaysOut(options.drawing);
    scene.OpenModel(path.c_str());
    scene.readingProgress = nullptr;
    scene.faceNormalsWanted = true;
    if (readingGivenUp) {
        return giveUp("");
    }
    if (scene.loaded == 0) {
        return giveUp("cannot read model " + path);  // it went between the check and the read
    }
    if (options.view != StartView::kOriginal && options.up == UpAxis::kZ && LooksYUp(g_meshHead)) {
        opened.notes.push_back(path + " looks made with y up; --up y stands it upright");
    }
    // Walking needs the model's units; a walk from the start is at human scale, a metre to a
    // world unit, unless a scale is given.
    // The model is measured once; the placement works from this box.
    const ModelBox fileBox = MeasureDrawnModel(g_meshHead, 1.0f);
    LengthUnit unit = LengthUnit::kMetre;
    if (options.units) {
        unit = *options.units;
    } else {
        const std::optional<ModelBox> scaled = ScaledBox(fileBox, scene.modelScale);
        const ModelBox drawn = scaled ? *scaled : MeasureDrawnModel(g_meshHead, scene.modelScale);
        const UnitGuess guess = GuessLengthUnit(
            std::max({drawn.Extent(0), drawn.Extent(1), drawn.Extent(2)}), scene.modelScale);
        unit = guess.unit;
        if (options.walk) {
            opened.notes.push_back(path + ": " + guess.reason);
        }
    }
    ViewFitOptions fit = options.fit;
    if (options.walk && !fit.userScale) {
        fit.userScale = 1.0 / MetresPer(unit);
    }
    const Placement placement =
        PlaceModel(scene, options.view, options.up, fit, fileBox, !LaysOut(options.drawing));
    if (options.view == StartView::kCamera && !placement.fromCamera) {
        opened.notes.push_back(path + " has no usable camera; the view is fitted");
    }
    if (!scene.problems.empty()) {
        opened.notes.push_back(DamageNote(path, scene));
    }
    if (!goOn("Laying out", 0.0)) {
        return giveUp("");
    }
    std::unique_ptr<ModelDrawer> drawer = MakeDrawer(scene, options, placement);
    if (!goOn("Indexing for walking", 0.0)) {
        return giveUp("");
    }
    const auto* laidOut = dynamic_cast<const MaterialDrawing*>(drawer.get());
    auto walk = std::make_unique<ModelWalk>(scene, placement, unit,
                                            laidOut != nullptr ? &laidOut->Batches() : nullptr);
    if (options.walk && placement.fromCamera) {
        walk->WalkFromEye(scene);
    } else if (options.walk) {
        walk->WalkFromOutside(scene);
    }
    opened.view =
        std::make_unique<NamedModelView>(scene, placement, std::move(drawer), std::move(walk));
    scene.Release(std::move(shown));
    // The reading's and the layout's transient buffers are gone: their memory goes back.
    platform::GiveBackFreedMemory();
    return opened;
}
