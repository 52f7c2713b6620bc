// Placing a model named by the user into the walk-through's world: one translation and one
// uniform scale (see ViewFit.h), so the camera, light, fog and clip planes keep their constants.
#include <cmath>
#include <cstring>

#include "scene/Scene.h"

namespace {

bool IsFinite(const float values[3]) {
    return std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]);
}

float Shifted(float value, double offset) {
    return static_cast<float>(static_cast<double>(value) - offset);
}

}  // namespace

bool Scene::PlaceModel(StartView view, const ViewFitOptions& options) {
    if (view == StartView::kOriginal || loaded == 0) {
        return false;
    }
    // A model far from the origin would lose its detail between a large vertex and a large
    // translation in single-precision drawing: its coordinates are centred here, in double
    // precision, once.
    const ModelBox fileBox = MeasureDrawnModel(g_meshHead, 1.0f);
    if (!fileBox.empty) {
        const double centre[3] = {fileBox.Centre(0), fileBox.Centre(1), fileBox.Centre(2)};
        ShiftModel(centre);
    }

    const ModelBox drawn = MeasureDrawnModel(g_meshHead, modelScale);
    const ModelCamera* camera =
        view != StartView::kFit && !cameras.empty() ? &cameras.front() : nullptr;
    const bool fromCamera =
        camera != nullptr && IsFinite(camera->position) && IsFinite(camera->target);
    if (fromCamera) {
        double position[3];
        double target[3];
        for (int axis = 0; axis < 3; ++axis) {
            position[axis] = static_cast<double>(camera->position[axis]) * modelScale;
            target[axis] = static_cast<double>(camera->target[axis]) * modelScale;
        }
        placement = ViewFromCamera(drawn, position, target, options);
    } else {
        placement = FitView(drawn, options);
    }
    placed = true;

    eye[0] = placement.pose.eyeX;
    eye[1] = placement.pose.eyeY;
    heightOffset = placement.pose.heightOffset;
    yawDegrees = placement.pose.yawDegrees;
    pitch = placement.pose.pitch;
    return fromCamera;
}

void Scene::ShiftModel(const double offset[3]) {
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
    for (ModelCamera& camera : cameras) {
        for (int axis = 0; axis < 3; ++axis) {
            camera.position[axis] = Shifted(camera.position[axis], offset[axis]);
            camera.target[axis] = Shifted(camera.target[axis], offset[axis]);
        }
    }
}
