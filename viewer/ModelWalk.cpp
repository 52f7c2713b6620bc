#include "viewer/ModelWalk.h"

#include <exception>
#include <system_error>
#include <utility>

#include "platform/Platform.h"
#include "scene/ViewConstants.h"

namespace {

// The model's faces where drawing puts them: moved and scaled by the placement, after the
// master scale. Laid out for drawing, they are placed already (stood upright and centred).
WorldFaces FacesOf(const Scene& scene, const Placement& placement, const MaterialBatches* laidOut) {
    const double* t = placement.fit.worldTranslation;
    WorldFaces faces(placement.fit.worldScale * static_cast<double>(scene.modelScale),
                     {t[0], t[1], t[2]});
    if (laidOut == nullptr) {
        faces.AddMeshes(g_meshHead);
        return faces;
    }
    for (const MaterialBatch& batch : laidOut->batches) {
        const PartArrays& arrays = batch.arrays;
        for (std::size_t p = 0; p < arrays.parts.size(); ++p) {
            const DrawingPart& part = arrays.parts[p];
            const std::size_t vertexEnd = p + 1 < arrays.parts.size()
                                              ? arrays.parts[p + 1].firstVertex
                                              : arrays.positions.size() / 3;
            faces.AddIndexedFaces(arrays.positions.data() + 3 * part.firstVertex,
                                  vertexEnd - part.firstVertex,
                                  arrays.corners.data() + part.firstCorner, part.cornerCount / 3);
        }
    }
    return faces;
}

}  // namespace

ModelWalk::ModelWalk(const Scene& scene, const Placement& placement, LengthUnit unit,
                     const MaterialBatches* laidOut, bool indexAhead)
    : unit_(unit),
      unitsPerMetre_(placement.fit.worldScale / MetresPer(unit)),
      faces_(FacesOf(scene, placement, laidOut)) {
    if (!indexAhead) {
        return;
    }
#if !defined(__EMSCRIPTEN__) || defined(__EMSCRIPTEN_PTHREADS__)
    // On a thread only from laid-out arrays, which this walk's drawing keeps as long as the walk
    // lives: the scene's meshes are released by the next opening, which does not wait for it.
    if (laidOut != nullptr) {
        try {
            indexing_ = std::thread([this] {
                try {
                    index_ = std::make_unique<Index>(faces_, unitsPerMetre_);
                } catch (...) {
                    failure_ = std::current_exception();  // thrown where the index is wanted
                }
            });
            return;
        } catch (const std::system_error&) {
        }
    }
#endif
    index_ = std::make_unique<Index>(faces_, unitsPerMetre_);
}

ModelWalk::~ModelWalk() {
    if (indexing_.joinable()) {
        indexing_.join();
    }
}

ModelWalk::Index::Index(const WorldFaces& faces, double unitsPerMetre)
    : index(faces), walker(index, unitsPerMetre, index.Bounds().min.z) {}

ModelWalk::Index& ModelWalk::Indexed() {
    if (indexing_.joinable()) {
        indexing_.join();
    }
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
    if (!index_) {
        index_ = std::make_unique<Index>(faces_, unitsPerMetre_);
    }
    return *index_;
}

void ModelWalk::WalkFromEye(Scene& scene) {
    Indexed().walker.PutDown(
        {scene.eye[0], scene.eye[1], view::kEyeBaseHeight + scene.heightOffset});
    walking_ = true;
    TakeEye(scene);
    scene.LookAhead();
}

void ModelWalk::WalkFromOutside(Scene& scene) {
    const WalkStart start = StartOutside(Indexed().index.Bounds(), unitsPerMetre_);
    StartPose pose;
    pose.eyeX = start.eye.x;
    pose.eyeY = start.eye.y;
    pose.yawDegrees = static_cast<float>(start.yawDegrees);
    scene.StandAt(pose);
    Indexed().walker.PutDown(start.eye);
    walking_ = true;
    TakeEye(scene);
    scene.LookAhead();
}

void ModelWalk::Move(Scene& scene) {
    float step = 0.0f;
    const bool focused = scene.TurnCamera(step);
    const auto held = [focused](int key) { return focused && platform::IsKeyHeld(key); };
    WalkKeys keys;
    keys.forward = (held(platform::kKeyW) || held(platform::kKeyUp) ? 1 : 0) -
                   (held(platform::kKeyS) || held(platform::kKeyDown) ? 1 : 0);
    keys.right = (held(platform::kKeyD) ? 1 : 0) - (held(platform::kKeyA) ? 1 : 0);
    keys.fast = held(platform::kKeyShift);
    keys.jump = held(platform::kKeyPageUp);
    keys.crouch = held(platform::kKeyPageDown);
    Indexed().walker.Step(keys, static_cast<double>(scene.yaw));
    TakeEye(scene);
    scene.LookAhead();
}

void ModelWalk::TakeEye(Scene& scene) {
    const Vec3 eye = Indexed().walker.Eye();
    scene.eye[0] = eye.x;
    scene.eye[1] = eye.y;
    scene.eye[2] = eye.z;
    scene.heightOffset = static_cast<float>(eye.z - view::kEyeBaseHeight);
}
