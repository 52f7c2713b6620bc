#include "placement/ViewFit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "scene/SecondThread.h"
#include "scene/ViewConstants.h"

namespace {

using view::kEyeBaseHeight;
using view::kFarPlane;
using view::kFieldOfViewDegrees;
using view::kLookDistance;
using view::kNearPlane;
using view::kPi;
using view::kPitchLimit;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;  // GLU's, not the camera's

// The fitted view leaves a tenth of the picture free on its fullest side, and keeps the eye at
// least a step or so away from the box.
constexpr double kFillLimit = 0.9;
constexpr double kClearance = 1.0;

double Clamp(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

double ScaleFor(const ModelBox& box, const ViewFitOptions& options) {
    if (options.userScale && *options.userScale > 0.0 && std::isfinite(1.0 / *options.userScale)) {
        return 1.0 / *options.userScale;
    }
    const double side = std::max(box.Extent(0), box.Extent(1));
    const double height = box.Extent(2);
    double scale = side > 0.0 ? kFittedSide / side : 1.0;
    if (height * scale > kMaxWorldHeight) {
        scale = kMaxWorldHeight / height;
    }
    return scale;
}

// The scale and translation of both views; the pose is left as the walk-through's own.
ViewFit PlaceModel(const ModelBox& box, const ViewFitOptions& options) {
    ViewFit fit;
    fit.worldScale = ScaleFor(box, options);
    if (!box.empty) {
        fit.worldTranslation[0] = -fit.worldScale * box.Centre(0);
        fit.worldTranslation[1] = -fit.worldScale * box.Centre(1);
        fit.worldTranslation[2] = -fit.worldScale * box.min[2];
    }
    return fit;
}

float PitchToward(double rise, double run) {
    return static_cast<float>(Clamp(kLookDistance * rise / run, -kPitchLimit, kPitchLimit));
}

// The eye `distance` from the box's horizontal centre, looking at its centre along -y (heading
// 180) or along -x (heading 270).
StartPose PoseAt(const ModelBox& world, bool alongMinusY, double distance) {
    StartPose pose;
    pose.eyeX = world.Centre(0) + (alongMinusY ? 0.0 : distance);
    pose.eyeY = world.Centre(1) + (alongMinusY ? distance : 0.0);
    pose.heightOffset = 0.0f;
    pose.yawDegrees = alongMinusY ? 180.0f : 270.0f;
    pose.pitch = PitchToward(world.Centre(2) - kEyeBaseHeight, distance);
    return pose;
}

bool FitsInPicture(const ViewCoverage& view) {
    return view.nearestDepth > kClearance &&
           std::max({-view.left, view.right, -view.bottom, view.top}) <= kFillLimit;
}

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void Normalise(double v[3]) {
    const double length = std::sqrt(Dot(v, v));
    for (int i = 0; i < 3; ++i) {
        v[i] /= length;
    }
}

}  // namespace

namespace {

// The box of the vertices that drawable faces name in meshes [first, end), each moved by
// `place`, then scaled.
template <class Place>
ModelBox MeasureMeshes(const Mesh* first, const Mesh* end, double scale, const Place& place) {
    ModelBox box;
    std::vector<unsigned char> named;
    for (const Mesh* mesh = first; mesh != end; mesh = mesh->next) {
        named.assign(static_cast<std::size_t>(mesh->vertexCount), 0);
        for (int face = 0; face < FaceCount(*mesh); ++face) {
            if (IsDrawable(*mesh, face)) {
                const std::uint16_t* record = FaceRecord(*mesh, face);
                named[record[0]] = named[record[1]] = named[record[2]] = 1;
            }
        }
        for (int vertex = 0; vertex < mesh->vertexCount; ++vertex) {
            if (named[static_cast<std::size_t>(vertex)] == 0) {
                continue;
            }
            float xyz[3];
            ReadVertex(*mesh, vertex, xyz);
            place(xyz);
            const double point[3] = {scale * xyz[0], scale * xyz[1], scale * xyz[2]};
            if (std::isfinite(point[0]) && std::isfinite(point[1]) && std::isfinite(point[2])) {
                box.Add(point);
            }
        }
    }
    return box;
}

// The same over every mesh after the sentinel, the first meshes and the last (about half the
// vertices each) on two threads, their boxes joined in file order.
template <class Place>
ModelBox MeasureNamedVertices(const Mesh* meshHead, float masterScale, const Place& place) {
    if (meshHead == nullptr) {
        return ModelBox();
    }
    long vertices = 0;
    for (const Mesh* mesh = meshHead->next; mesh != nullptr; mesh = mesh->next) {
        vertices += mesh->vertexCount;
    }
    const Mesh* middle = meshHead->next;
    for (long before = 0; middle != nullptr && 2 * before < vertices; middle = middle->next) {
        before += middle->vertexCount;
    }
    ModelBox halves[2];
    const auto measure = [&](int half) {
        halves[half] = half == 0 ? MeasureMeshes(meshHead->next, middle, masterScale, place)
                                 : MeasureMeshes(middle, nullptr, masterScale, place);
    };
    if (vertices >= kFacesWorthASecondThread) {
        ShareWithSecondThread(measure);
    } else {
        measure(0);
        measure(1);
    }
    if (!halves[1].empty) {
        halves[0].Add(halves[1].min);
        halves[0].Add(halves[1].max);
    }
    return halves[0];
}

}  // namespace

ModelBox MeasureDrawnModel(const Mesh* meshHead, float masterScale) {
    return MeasureNamedVertices(meshHead, masterScale, [](float*) {});
}

std::optional<ModelBox> DrawnBoxAsRead(const Mesh* meshHead) {
    ModelBox box;
    for (const Mesh* mesh = meshHead->next; mesh != nullptr; mesh = mesh->next) {
        if (mesh->faces == nullptr || FaceCount(*mesh) == 0) {
            continue;  // names no vertex
        }
        const MeshBoxAsRead& read = mesh->boxAsRead;
        if (!read.measured) {
            return std::nullopt;
        }
        if (!read.empty) {
            const double low[3] = {read.low[0], read.low[1], read.low[2]};
            const double high[3] = {read.high[0], read.high[1], read.high[2]};
            box.Add(low);
            box.Add(high);
        }
    }
    return box;
}

ModelBox MeasureDrawnModel(const Mesh* meshHead, float masterScale,
                           const std::function<void(float xyz[3])>& place) {
    return MeasureNamedVertices(meshHead, masterScale, place);
}

ModelBox ToWorld(const ModelBox& drawnBox, const ViewFit& fit) {
    ModelBox world;
    if (drawnBox.empty) {
        return world;
    }
    for (const double* corner : {drawnBox.min, drawnBox.max}) {
        double point[3];
        for (int axis = 0; axis < 3; ++axis) {
            point[axis] = fit.worldScale * corner[axis] + fit.worldTranslation[axis];
        }
        world.Add(point);
    }
    return world;
}

ViewFit FitView(const ModelBox& drawnBox, const ViewFitOptions& options) {
    ViewFit fit = PlaceModel(drawnBox, options);
    if (drawnBox.empty) {
        return fit;
    }
    const ModelBox world = ToWorld(drawnBox, fit);
    // Facing the longer side shows the most of the model and keeps its far side nearest.
    const bool alongMinusY = world.Extent(0) >= world.Extent(1);
    const double halfDepth = 0.5 * world.Extent(alongMinusY ? 1 : 0);
    const auto fits = [&](double distance) {
        return FitsInPicture(MeasureCoverage(PoseAt(world, alongMinusY, distance), world,
                                             options.viewportWidth, options.viewportHeight));
    };

    // Back away until the box fits, then close in on the nearest distance at which it does.
    double near = halfDepth + kClearance;
    double far = near;
    for (int i = 0; i < 200 && !fits(far); ++i) {
        near = far;
        far *= 2.0;
    }
    if (far > near) {
        for (int i = 0; i < 60; ++i) {
            const double middle = 0.5 * (near + far);
            (fits(middle) ? far : near) = middle;
        }
    }
    fit.pose = PoseAt(world, alongMinusY, far);
    return fit;
}

ViewFit ViewFromCamera(const ModelBox& drawnBox, const double cameraPosition[3],
                       const double cameraTarget[3], const ViewFitOptions& options) {
    for (int axis = 0; axis < 3; ++axis) {
        if (!std::isfinite(cameraPosition[axis]) || !std::isfinite(cameraTarget[axis])) {
            return FitView(drawnBox, options);
        }
    }
    ViewFit fit = PlaceModel(drawnBox, options);
    double eye[3];
    for (int axis = 0; axis < 3; ++axis) {
        eye[axis] = fit.worldScale * cameraPosition[axis] + fit.worldTranslation[axis];
    }
    // The scale is positive: the direction is the same in the world as in the file.
    const double dx = cameraTarget[0] - cameraPosition[0];
    const double dy = cameraTarget[1] - cameraPosition[1];
    const double dz = cameraTarget[2] - cameraPosition[2];
    const double run = std::hypot(dx, dy);

    fit.pose.eyeX = eye[0];
    fit.pose.eyeY = eye[1];
    fit.pose.heightOffset = static_cast<float>(eye[2] - kEyeBaseHeight);
    if (run > 0.0) {
        // Degrees by the camera's own factor, so that its conversion gives back this heading.
        fit.pose.yawDegrees = static_cast<float>(std::atan2(dx, dy) * 180.0 / kPi);
        fit.pose.pitch = PitchToward(dz, run);
    } else {
        // Straight up or down (or no direction at all): the heading is left as it starts.
        fit.pose.pitch = static_cast<float>(dz > 0.0 ? kPitchLimit : dz < 0.0 ? -kPitchLimit : 0.0);
    }
    return fit;
}

ViewCoverage MeasureCoverage(const StartPose& pose, const ModelBox& worldBox, int viewportWidth,
                             int viewportHeight) {
    ViewCoverage view;
    if (worldBox.empty || viewportWidth <= 0 || viewportHeight <= 0) {
        return view;
    }
    // The view as the camera builds it for gluLookAt, the heading rounded as it stores it.
    const float yaw = static_cast<float>(static_cast<double>(pose.yawDegrees) * kPi / 180.0);
    const double eye[3] = {pose.eyeX, pose.eyeY,
                           kEyeBaseHeight + static_cast<double>(pose.heightOffset)};
    double forward[3] = {std::sin(static_cast<double>(yaw)) * kLookDistance,
                         std::cos(static_cast<double>(yaw)) * kLookDistance,
                         static_cast<double>(pose.pitch)};
    Normalise(forward);
    double side[3] = {forward[1], -forward[0], 0.0};  // forward x up, up = +z
    Normalise(side);
    const double up[3] = {side[1] * forward[2] - side[2] * forward[1],
                          side[2] * forward[0] - side[0] * forward[2],
                          side[0] * forward[1] - side[1] * forward[0]};

    const double halfHeight = std::tan(kFieldOfViewDegrees * 0.5 * kRadiansPerDegree);
    const double halfWidth = halfHeight * viewportWidth / viewportHeight;
    view.allCornersInView = true;
    bool anyInFront = false;
    for (int corner = 0; corner < 8; ++corner) {
        double p[3];
        for (int axis = 0; axis < 3; ++axis) {
            const double* bound = (corner >> axis & 1) != 0 ? worldBox.max : worldBox.min;
            p[axis] = bound[axis] - eye[axis];
        }
        const double depth = Dot(p, forward);
        view.nearestDepth = corner == 0 ? depth : std::min(view.nearestDepth, depth);
        view.farthestDepth = corner == 0 ? depth : std::max(view.farthestDepth, depth);
        view.farthestDistance = std::max(view.farthestDistance, std::sqrt(Dot(p, p)));
        if (depth <= 0.0) {
            view.allCornersInView = false;
            continue;
        }
        const double x = Dot(p, side) / (depth * halfWidth);
        const double y = Dot(p, up) / (depth * halfHeight);
        view.left = anyInFront ? std::min(view.left, x) : x;
        view.right = anyInFront ? std::max(view.right, x) : x;
        view.bottom = anyInFront ? std::min(view.bottom, y) : y;
        view.top = anyInFront ? std::max(view.top, y) : y;
        anyInFront = true;
        if (depth < kNearPlane || depth > kFarPlane || std::abs(x) > 1.0 || std::abs(y) > 1.0) {
            view.allCornersInView = false;
        }
    }
    if (anyInFront) {
        view.widthFraction = 0.5 * (std::min(view.right, 1.0) - std::max(view.left, -1.0));
        view.heightFraction = 0.5 * (std::min(view.top, 1.0) - std::max(view.bottom, -1.0));
        view.widthFraction = std::max(view.widthFraction, 0.0);
        view.heightFraction = std::max(view.heightFraction, 0.0);
    }
    return view;
}
