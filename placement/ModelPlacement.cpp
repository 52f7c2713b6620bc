#include "placement/ModelPlacement.h"

#include <cmath>
#include <cstring>

namespace {

bool IsFinite(const float values[3]) {
    return std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]);
}

float Shifted(float value, double offset) {
    return static_cast<float>(static_cast<double>(value) - offset);
}

// Moves every vertex and camera by -`offset` (file units).
void ShiftModel(Scene& scene, const double offset[3]) {
    for (Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        for (int i = 0; i < mesh->vertexCount; ++i) {
            unsigned char* at = mesh->vertices + 12 * static_cast<std::size_t>(i);
            float xyz[3];
            std::memcpy(xyz, at, sizeof xyz);
            for (int axis = 0; axis < 3; ++axis) {
                xyz[axis] = Shifted(xyz[axis], offset[axis]);
            }
            std::memcpy(at, xyz, sizeof xyz);
        }
    }
    for (ModelCamera& camera : scene.cameras) {
        for (int axis = 0; axis < 3; ++axis) {
            camera.position[axis] = Shifted(camera.position[axis], offset[axis]);
            camera.target[axis] = Shifted(camera.target[axis], offset[axis]);
        }
    }
}

}  // namespace

Placement PlaceModel(Scene& scene, StartView view, UpAxis up, const ViewFitOptions& options) {
    Placement placement;
    if (up == UpAxis::kY) {
        StandUpright(scene);
    }
    if (view == StartView::kOriginal || scene.loaded == 0) {
        return placement;
    }
    // A model far from the origin would lose its detail between a large vertex and a large
    // translation in single-precision drawing: its coordinates are centred here, in double
    // precision, once.
    const ModelBox fileBox = MeasureDrawnModel(g_meshHead, 1.0f);
    if (!fileBox.empty) {
        const double centre[3] = {fileBox.Centre(0), fileBox.Centre(1), fileBox.Centre(2)};
        ShiftModel(scene, centre);
    }

    const ModelBox drawn = MeasureDrawnModel(g_meshHead, scene.modelScale);
    const ModelCamera* camera =
        view != StartView::kFit && !scene.cameras.empty() ? &scene.cameras.front() : nullptr;
    placement.fromCamera =
        camera != nullptr && IsFinite(camera->position) && IsFinite(camera->target);
    if (placement.fromCamera) {
        double position[3];
        double target[3];
        for (int axis = 0; axis < 3; ++axis) {
            position[axis] = static_cast<double>(camera->position[axis]) * scene.modelScale;
            target[axis] = static_cast<double>(camera->target[axis]) * scene.modelScale;
        }
        placement.fit = ViewFromCamera(drawn, position, target, options);
    } else {
        placement.fit = FitView(drawn, options);
    }
    placement.placed = true;
    scene.StandAt(placement.fit.pose);
    return placement;
}
