// The room that opens a model the user names, once, for every way in: the window at start,
// files dropped on it, the web page (whose picked files arrive as drops) and walkthrough-shot.
// Opening reads the file into the scene, places it in the world and prepares its drawing (the
// layout of its faces, its textures) at once, so that frames only draw. It may call
// placement/, drawing/, images/, render/, scene/ and platform/; only app/ and tools/ call it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "images/ImageBudget.h"
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
};

struct OpenedModel {
    // What frames show the model through (SceneRenderer::ShowThrough); null when the file
    // cannot serve as a model.
    std::unique_ptr<NamedModelView> view;
    // Why not: one line naming the file. The scene was left as it was.
    std::string problem;
    // Lines worth telling the user about a model that opened: a camera asked for that the file
    // lacks, a model that looks made with y up, what the reader passed over in a damaged file.
    std::vector<std::string> notes;
};

// Reads `path` (UTF-8) into `scene` in place of its model, places it as `options` say, puts
// the camera at its start and prepares its drawing. A GL context must be current when the
// drawing has textures to upload.
OpenedModel OpenModel(Scene& scene, const std::string& path, const OpenOptions& options);
