#include "viewer/ModelOpening.h"

#include <algorithm>
#include <utility>

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

ModelOpening::ModelOpening(Scene& scene, std::string path, const OpenOptions& options,
                           OpeningProgress* progress)
    : scene_(scene), path_(std::move(path)), options_(options), progress_(progress) {}

ModelOpening::~ModelOpening() {
    if (holding_) {
        GiveUp("");
    }
}

bool ModelOpening::GoOn(const char* step, double fraction) {
    return progress_ == nullptr || progress_->Report(step, fraction);
}

// Gives the opening up: the model shown before is shown again, as it was.
void ModelOpening::GiveUp(std::string problem) {
    scene_.TakeModelBack(std::move(shown_));
    holding_ = false;
    opened_.view.reset();
    opened_.problem = std::move(problem);
    opened_.notes.clear();
    ended_ = true;
}

void ModelOpening::Read() {
    if (const auto problem = CheckModelFile(path_)) {
        opened_.problem = DescribeModelFileProblem(path_, *problem);
        ended_ = true;
        return;
    }
    shown_ = scene_.SetModelAside();
    holding_ = true;
    bool readingGivenUp = false;
    scene_.readingProgress = [this, &readingGivenUp](long bytesRead, long fileSize) {
        readingGivenUp = !GoOn("Reading", fileSize > 0 ? double(bytesRead) / fileSize : 0.0);
        return !readingGivenUp;
    };
    scene_.faceNormalsWanted = !LaysOut(options_.drawing);
    scene_.OpenModel(path_.c_str());
    scene_.readingProgress = nullptr;
    scene_.faceNormalsWanted = true;
    if (readingGivenUp) {
        return GiveUp("");
    }
    if (scene_.loaded == 0) {
        return GiveUp("cannot read model " + path_);  // it went between the check and the read
    }
    if (options_.view != StartView::kOriginal && options_.up == UpAxis::kZ &&
        LooksYUp(g_meshHead)) {
        opened_.notes.push_back(path_ + " looks made with y up; --up y stands it upright");
    }
    // Walking needs the model's units; a walk from the start is at human scale, a metre to a
    // world unit, unless a scale is given.
    // The model is measured once, mostly as it was read; the placement works from this box.
    const std::optional<ModelBox> boxAsRead = DrawnBoxAsRead(g_meshHead);
    const ModelBox fileBox = boxAsRead ? *boxAsRead : MeasureDrawnModel(g_meshHead, 1.0f);
    unit_ = LengthUnit::kMetre;
    if (options_.units) {
        unit_ = *options_.units;
    } else {
        const std::optional<ModelBox> scaled = ScaledBox(fileBox, scene_.modelScale);
        const ModelBox drawn = scaled ? *scaled : MeasureDrawnModel(g_meshHead, scene_.modelScale);
        const UnitGuess guess = GuessLengthUnit(
            std::max({drawn.Extent(0), drawn.Extent(1), drawn.Extent(2)}), scene_.modelScale);
        unit_ = guess.unit;
        if (options_.walk) {
            opened_.notes.push_back(path_ + ": " + guess.reason);
        }
    }
    ViewFitOptions fit = options_.fit;
    if (options_.walk && !fit.userScale) {
        fit.userScale = 1.0 / MetresPer(unit_);
    }
    placement_ =
        PlaceModel(scene_, options_.view, options_.up, fit, fileBox, !LaysOut(options_.drawing));
    if (options_.view == StartView::kCamera && !placement_.fromCamera) {
        opened_.notes.push_back(path_ + " has no usable camera; the view is fitted");
    }
    if (!scene_.problems.empty()) {
        opened_.notes.push_back(DamageNote(path_, scene_));
    }
}

OpenedModel ModelOpening::Prepare() {
    if (ended_) {
        return std::move(opened_);
    }
    if (!GoOn("Laying out", 0.0)) {
        GiveUp("");
        return std::move(opened_);
    }
    std::unique_ptr<ModelDrawer> drawer = MakeDrawer(scene_, options_, placement_);
    if (!GoOn("Indexing for walking", 0.0)) {
        GiveUp("");
        return std::move(opened_);
    }
    const auto* laidOut = dynamic_cast<const MaterialDrawing*>(drawer.get());
    auto walk = std::make_unique<ModelWalk>(scene_, placement_, unit_,
                                            laidOut != nullptr ? &laidOut->Batches() : nullptr,
                                            options_.indexAhead);
    if (options_.walk && placement_.fromCamera) {
        walk->WalkFromEye(scene_);
    } else if (options_.walk) {
        walk->WalkFromOutside(scene_);
    }
    opened_.view =
        std::make_unique<NamedModelView>(scene_, placement_, std::move(drawer), std::move(walk));
    scene_.Release(std::move(shown_));
    holding_ = false;
    // The reading's and the layout's transient buffers are gone: their memory goes back.
    platform::GiveBackFreedMemory();
    ended_ = true;
    return std::move(opened_);
}

OpenedModel OpenModel(Scene& scene, const std::string& path, const OpenOptions& options,
                      OpeningProgress* progress) {
    ModelOpening opening(scene, path, options, progress);
    opening.Read();
    return opening.Prepare();
}
