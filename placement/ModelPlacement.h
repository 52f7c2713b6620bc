// Placing a loaded model into the walk-through's world: one translation and one uniform scale
// (see ViewFit.h), so the camera, light, fog and clip planes keep their constants, and the
// camera put at the start the view asks for. The placement room is pure arithmetic over the
// scene's model lists: it calls scene/ alone, no GL and no platform.
#pragma once

#include <optional>

#include "placement/UpAxis.h"
#include "placement/ViewFit.h"
#include "scene/Scene.h"

struct Placement {
    ViewFit fit;              // the scale and translation the model is drawn with, and its start
    bool placed = false;      // false: drawn as read, from the scene's own start (kOriginal)
    bool fromCamera = false;  // the start is a camera of the file
    // What was done to the file's coordinates before drawing: stood upright, then moved by
    // -centre (file units).
    UpAxis up = UpAxis::kZ;
    bool centred = false;
    double centre[3] = {0.0, 0.0, 0.0};
};

// Places the scene's loaded model as `view` says and puts the scene's camera at its start: a
// model made with y up is stood upright first; then kOriginal leaves model and start pose as
// they are; kFit, kCamera and kAuto fit the model's box, and kCamera and kAuto start at the
// file's first usable camera if any. A model far from the origin has its coordinates centred
// first, so that it keeps its detail in single-precision drawing.
// `fileBox` is MeasureDrawnModel(g_meshHead, 1.0f) of the model as read: the placement is worked
// out from it without measuring again. With `moveMeshes` the meshes' vertices (and normals) are
// turned and centred in place, for a drawing and a walk that read them there; without, only the
// cameras are, and the vertices stay as read, to be placed (PlaceVertex) as they are copied.
Placement PlaceModel(Scene& scene, StartView view, UpAxis up, const ViewFitOptions& options,
                     const ModelBox& fileBox, bool moveMeshes = true);

// A vertex of the file (file units) where the placement puts it before the master scale: stood
// upright, then centred.
void PlaceVertex(const Placement& placement, float xyz[3]);
// A coordinate moved by -offset, in double precision, stored as float.
float ShiftedCoordinate(float value, double offset);
// The box of the points of `fileBox` times the master scale, as drawing scales them; none when
// the scale is zero or not finite (the box must then be measured).
std::optional<ModelBox> ScaledBox(const ModelBox& fileBox, float masterScale);

// A point of the walk-through's world in the model file's own coordinates (before its master
// scale), as placed.
void WorldToModel(const Placement& placement, float masterScale, const double world[3],
                  double model[3]);
