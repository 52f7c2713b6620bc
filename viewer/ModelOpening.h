// The room that opens a model the user names, once, for every way in: the window at start,
// files dropped on it, the web page (whose picked files arrive as drops) and walkthrough-shot.
// Opening reads the file into the scene, places it in the world and prepares its drawing (the
// layout of its faces, its textures) at once, so that frames only draw. It may call
// placement/, drawing/, images/, render/, scene/ and platform/; only app/ and tools/ call it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "images/ImageBudget.h"
#include "placement/ModelPlacement.h"
#include "placement/ModelUnits.h"
#include "placement/UpAxis.h"
#include "placement/ViewFit.h"
#include "scene/Scene.h"
#include "viewer/NamedModelView.h"

// How an opened model is drawn: as the walk-through draws its own scene (one colour per mesh),
// or as its author made it (materials, textures, transparency, smoothing), from parts laid out
// once (kMaterials) or with every face sent every frame (kMaterialsImmediate, the same picture,
// for comparison).
enum class ModelDrawingStyle { kMeshColours, kMaterials, kMaterialsImmediate };

struct OpenOptions {
    StartView view = StartView::kAuto;
    UpAxis up = UpAxis::kZ;
    ViewFitOptions fit;
    ModelDrawingStyle drawing = ModelDrawingStyle::kMaterials;
    // What its texture images may cost, and the side they are reduced to.
    TextureLimits textures;
    // Walk from the start (else fly): at human scale, unless a scale is given, from the file's
    // camera put down on the floor, or from outside the model.
    bool walk = false;
    // The model's length unit for walking (its drawn units); guessed from its size when absent.
    std::optional<LengthUnit> units;
    // Index the faces for walking as soon as the model is laid out, while the first frames are
    // drawn; else when first walked (walkthrough-shot, which mostly never walks).
    bool indexAhead = true;
};

// What opening says as it goes ("Reading", "Laying out", "Textures", "Indexing for walking"),
// with how far it has come in that step, 0 to 1; returning false gives the opening up.
class OpeningProgress {
public:
    virtual bool Report(const char* step, double fraction) = 0;

protected:
    ~OpeningProgress() = default;
};

struct OpenedModel {
    // What frames show the model through (SceneRenderer::ShowThrough); null when the file
    // cannot serve as a model, or the opening was given up.
    std::unique_ptr<NamedModelView> view;
    // Why not: one line naming the file, or empty when the opening was given up. Either way
    // the scene holds the model it held before, as it was.
    std::string problem;
    // Lines worth telling the user about a model that opened: a camera asked for that the file
    // lacks, a model that looks made with y up, what the reader passed over in a damaged file.
    std::vector<std::string> notes;
};

// Reads `path` (UTF-8) into `scene` in place of its model, places it as `options` say, puts
// the camera at its start and prepares its drawing and its walk, telling `progress` (when
// given) as it goes. A GL context must be current when the drawing has textures to upload. The
// model shown before is kept until the new one has opened, and released then: a view of it is
// not to be used after that.
OpenedModel OpenModel(Scene& scene, const std::string& path, const OpenOptions& options,
                      OpeningProgress* progress = nullptr);

// The same in two steps, for a caller with other work to do while the file is read:
// walkthrough-shot makes its GL context meanwhile. Read() checks, reads and places the model
// and needs no GL context: it may run on another thread, as long as nothing else touches the
// scene until it returns. Prepare() then lays the model out, with the context current, and
// says how the opening went; each is called once, in turn.
class ModelOpening {
public:
    ModelOpening(Scene& scene, std::string path, const OpenOptions& options,
                 OpeningProgress* progress = nullptr);
    // A model read and never prepared is given up.
    ~ModelOpening();
    ModelOpening(const ModelOpening&) = delete;
    ModelOpening& operator=(const ModelOpening&) = delete;
    void Read();
    OpenedModel Prepare();

private:
    bool GoOn(const char* step, double fraction);
    void GiveUp(std::string problem);

    Scene& scene_;
    std::string path_;
    OpenOptions options_;
    OpeningProgress* progress_;
    Scene::HeldModel shown_;
    Placement placement_;
    LengthUnit unit_ = LengthUnit::kMetre;
    OpenedModel opened_;
    bool holding_ = false;  // the model shown before, set aside in shown_
    bool ended_ = false;    // with a problem, given up, or prepared
};
