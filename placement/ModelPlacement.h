// Placing a loaded model into the walk-through's world: one translation and one uniform scale
// (see ViewFit.h), so the camera, light, fog and clip planes keep their constants, and the
// camera put at the start the view asks for. The placement room is pure arithmetic over the
// scene's model lists: it calls scene/ alone, no GL and no platform.
#pragma once

#include "placement/UpAxis.h"
#include "placement/ViewFit.h"
#include "scene/Scene.h"

struct Placement {
    ViewFit fit;              // the scale and translation the model is drawn with, and its start
    bool placed = false;      // false: drawn as read, from the scene's own start (kOriginal)
    bool fromCamera = false;  // the start is a camera of the file
};

// Places the scene's loaded model as `view` says and puts the scene's camera at its start: a
// model made with y up is stood upright first; then kOriginal leaves model and start pose as
// they are; kFit, kCamera and kAuto fit the model's box, and kCamera and kAuto start at the
// file's first usable camera if any. A model far from the origin has its coordinates (vertices
// and cameras) centred first, so that it keeps its detail in single-precision drawing.
Placement PlaceModel(Scene& scene, StartView view, UpAxis up, const ViewFitOptions& options);
