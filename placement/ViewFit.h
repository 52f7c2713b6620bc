// Fitting the walk-through to a model of any size and place. The model is placed into the
// walk-through's world by one uniform scale and one translation, applied before it is drawn, so
// that the camera's eye height and pace, the light's path, the fog's course and the clip planes
// stay as they are whatever the model's units. Pure arithmetic: no GL, no platform.
#pragma once

#include <functional>
#include <optional>

#include "scene/Model.h"
#include "scene/StartPose.h"

// An axis-aligned box. Empty until a point is added.
struct ModelBox {
    double min[3] = {0.0, 0.0, 0.0};
    double max[3] = {0.0, 0.0, 0.0};
    bool empty = true;

    void Add(const double point[3]) {
        for (int axis = 0; axis < 3; ++axis) {
            min[axis] = empty || point[axis] < min[axis] ? point[axis] : min[axis];
            max[axis] = empty || max[axis] < point[axis] ? point[axis] : max[axis];
        }
        empty = false;
    }
    double Extent(int axis) const { return empty ? 0.0 : max[axis] - min[axis]; }
    double Centre(int axis) const { return empty ? 0.0 : 0.5 * (min[axis] + max[axis]); }
};

// The box of the model as drawn: the vertices that the drawable faces of every mesh after the
// sentinel `meshHead` name, times the master scale (drawing scales by it first). A vertex with a
// coordinate that is not finite is left out. No mesh or no drawable face gives an empty box.
// One pass over the faces' indices and one over the vertices.
ModelBox MeasureDrawnModel(const Mesh* meshHead, float masterScale);
// The same box at a master scale of 1 from the boxes the reader measured of each mesh with faces
// (Mesh::boxAsRead), when it measured them all; none otherwise. For the model as read only.
std::optional<ModelBox> DrawnBoxAsRead(const Mesh* meshHead);
// The same box with each vertex first moved by `place` (the file's units in and out).
ModelBox MeasureDrawnModel(const Mesh* meshHead, float masterScale,
                           const std::function<void(float xyz[3])>& place);

// Where a walk through a model starts: as the walk-through always starts (kOriginal), fitted to
// the model's box (kFit), or at the file's first camera, fitted when it has none (kCamera; kAuto
// is the same rule, the default of a model named on the command line).
enum class StartView { kAuto, kCamera, kFit, kOriginal };

struct ViewFitOptions {
    // Model units (as drawn) per world unit, in place of the fitted scale. Ignored unless it is
    // positive and its inverse is finite.
    std::optional<double> userScale;
    // The picture the start view is fitted to.
    int viewportWidth = 800;
    int viewportHeight = 600;
};

// Where a model stands in the world and where the walk starts: a drawn point p lands at
// worldScale * p + worldTranslation (glTranslate, then glScale, then the master scale).
struct ViewFit {
    double worldScale = 1.0;
    double worldTranslation[3] = {0.0, 0.0, 0.0};
    StartPose pose;
};

// Without a user scale, the longest horizontal side becomes kFittedSide world units (a walk of
// 1500 frames, 20 s at 75 frames a second), unless the model would then stand taller than
// kMaxWorldHeight: a tower is shrunk to that height instead, which keeps its far side well
// inside the far plane and the fog. A model more than kMaxWorldHeight / 150 (about 6.7) times
// as tall as it is long is therefore walked across in less than 10 seconds.
constexpr double kFittedSide = 300.0;
constexpr double kMaxWorldHeight = 1000.0;

// The model's horizontal centre goes to the origin and its lowest point to the ground, z = 0.
// The eye starts at eye height on the side facing the model's longer horizontal side, looking at
// the box's centre from just far enough that the whole box fills at most 90% of the picture.
// An empty box keeps the walk-through's own start pose, unscaled.
ViewFit FitView(const ModelBox& drawnBox, const ViewFitOptions& options);

// The model placed as FitView places it, the eye and its direction taken from a camera of the
// model file: its position and target in drawn units (the file's values times the master scale).
// A camera with a coordinate that is not finite is not used: the fitted view is returned.
ViewFit ViewFromCamera(const ModelBox& drawnBox, const double cameraPosition[3],
                       const double cameraTarget[3], const ViewFitOptions& options);

// The box transformed by the fit's scale and translation.
ModelBox ToWorld(const ModelBox& drawnBox, const ViewFit& fit);

// How a box in world units appears from a pose, through the walk-through's projection (54
// degrees vertical, the viewport's aspect, near 0.1, far 3000).
struct ViewCoverage {
    // Every corner lies in front of the near plane, behind the far plane and inside the sides.
    bool allCornersInView = false;
    // The share of the picture's width and height between the outermost projected corners, cut
    // at the picture's edges; corners behind the eye are left out.
    double widthFraction = 0.0;
    double heightFraction = 0.0;
    // The corners' projected extremes, -1..1 across the picture, not cut.
    double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;
    // The corners' nearest and farthest distance along the view direction, and the farthest
    // straight-line distance from the eye.
    double nearestDepth = 0.0;
    double farthestDepth = 0.0;
    double farthestDistance = 0.0;
};

ViewCoverage MeasureCoverage(const StartPose& pose, const ModelBox& worldBox, int viewportWidth,
                             int viewportHeight);
