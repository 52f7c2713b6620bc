#include "placement/ModelPlacement.h"

#include <cmath>
#include <cstring>

namespace {

bool IsFinite(const float values[3]) {
    return std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]);
}

// Moves every vertex by -`offset` (file units).
void ShiftVertices(const double offset[3]) {
    for (Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        for (int i = 0; i < mesh->vertexCount; ++i) {
            unsigned char* at = mesh->vertices + 12 * static_cast<std::size_t>(i);
            float xyz[3];
            std::memcpy(xyz, at, sizeof xyz);
            for (int axis = 0; axis < 3; ++axis) {
                xyz[axis] = ShiftedCoordinate(xyz[axis], offset[axis]);
            }
            std::memcpy(at, xyz, sizeof xyz);
        }
    }
}

void ShiftCameras(Scene& scene, const double offset[3]) {
    for (ModelCamera& camera : scene.cameras) {
        for (int axis = 0; axis < 3; ++axis) {
            camera.position[axis] = ShiftedCoordinate(camera.position[axis], offset[axis]);
            camera.target[axis] = ShiftedCoordinate(camera.target[axis], offset[axis]);
        }
    }
}

// The box of points (x, -z, y) for the points (x, y, z) of `box`.
ModelBox Upright(const ModelBox& box) {
    ModelBox turned = box;
    if (!box.empty) {
        turned.min[1] = -box.max[2];
        turned.max[1] = -box.min[2];
        turned.min[2] = box.min[1];
        turned.max[2] = box.max[1];
    }
    return turned;
}

// The box of the file's points moved by -offset. Rounding to float keeps the order of values,
// and no finite coordinate of the box leaves float's range by the move to its centre, so the
// moved bounds bound the moved points exactly.
ModelBox Shifted(const ModelBox& box, const double offset[3]) {
    ModelBox moved = box;
    for (int axis = 0; axis < 3 && !box.empty; ++axis) {
        moved.min[axis] = ShiftedCoordinate(static_cast<float>(box.min[axis]), offset[axis]);
        moved.max[axis] = ShiftedCoordinate(static_cast<float>(box.max[axis]), offset[axis]);
    }
    return moved;
}

}  // namespace

float ShiftedCoordinate(float value, double offset) {
    return static_cast<float>(static_cast<double>(value) - offset);
}

std::optional<ModelBox> ScaledBox(const ModelBox& fileBox, float masterScale) {
    if (!std::isfinite(masterScale) || masterScale == 0.0f) {
        return std::nullopt;
    }
    // A float times a float is exact in double: these are the bounds of the scaled points.
    const double scale = masterScale;
    ModelBox scaled = fileBox;
    for (int axis = 0; axis < 3 && !fileBox.empty; ++axis) {
        const double low = scale * fileBox.min[axis];
        const double high = scale * fileBox.max[axis];
        scaled.min[axis] = scale > 0.0 ? low : high;
        scaled.max[axis] = scale > 0.0 ? high : low;
    }
    return scaled;
}

Placement PlaceModel(Scene& scene, StartView view, UpAxis up, const ViewFitOptions& options,
                     const ModelBox& fileBox, bool moveMeshes) {
    Placement placement;
    placement.up = up;
    if (up == UpAxis::kY) {
        if (moveMeshes) {
            StandUpright(scene);
        } else {
            StandCamerasUpright(scene);
        }
    }
    if (view == StartView::kOriginal || scene.loaded == 0) {
        return placement;
    }
    // A model far from the origin would lose its detail between a large vertex and a large
    // translation in single-precision drawing: its coordinates are centred, in double
    // precision, once.
    const ModelBox standing = up == UpAxis::kY ? Upright(fileBox) : fileBox;
    placement.centred = !standing.empty;
    if (placement.centred) {
        for (int axis = 0; axis < 3; ++axis) {
            placement.centre[axis] = standing.Centre(axis);
        }
        if (moveMeshes) {
            ShiftVertices(placement.centre);
        }
        ShiftCameras(scene, placement.centre);
    }

    std::optional<ModelBox> drawn =
        ScaledBox(Shifted(standing, placement.centre), scene.modelScale);
    if (!drawn) {
        // A master scale of zero or none at all: measured as drawing scales.
        drawn = moveMeshes
                    ? MeasureDrawnModel(g_meshHead, scene.modelScale)
                    : MeasureDrawnModel(g_meshHead, scene.modelScale, [&placement](float xyz[3]) {
                          PlaceVertex(placement, xyz);
                      });
    }
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
        placement.fit = ViewFromCamera(*drawn, position, target, options);
    } else {
        placement.fit = FitView(*drawn, options);
    }
    placement.placed = true;
    scene.StandAt(placement.fit.pose);
    return placement;
}

void PlaceVertex(const Placement& placement, float xyz[3]) {
    if (placement.up == UpAxis::kY) {
        TurnUpright(xyz, xyz);
    }
    if (placement.centred) {
        for (int axis = 0; axis < 3; ++axis) {
            xyz[axis] = ShiftedCoordinate(xyz[axis], placement.centre[axis]);
        }
    }
}

void WorldToModel(const Placement& placement, float masterScale, const double world[3],
                  double model[3]) {
    double upright[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double drawn =
            (world[axis] - placement.fit.worldTranslation[axis]) / placement.fit.worldScale;
        upright[axis] = drawn / static_cast<double>(masterScale) + placement.centre[axis];
    }
    // Standing upright took (x, y, z) to (x, -z, y).
    const bool turned = placement.up == UpAxis::kY;
    model[0] = upright[0];
    model[1] = turned ? upright[2] : upright[1];
    model[2] = turned ? -upright[1] : upright[2];
}
