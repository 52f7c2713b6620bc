#include <GL/glu.h>

#include <cmath>

#include "platform/Platform.h"
#include "scene/Scene.h"
#include "scene/ViewConstants.h"

namespace {

// Every step is per frame. The single-precision constants are widened, the arithmetic is
// done in double precision, and single-precision fields round only when stored.
constexpr float kWalkStep = 0.2f;
constexpr float kShiftFactor = 4.0f;
constexpr float kMouseFactor = 0.2f;  // degrees of heading, units of pitch, per pixel
constexpr float kHeightStep = 0.5f;
using view::kEyeBaseHeight;
using view::kLookDistance;
using view::kPi;
using view::kPitchLimit;

float AddRounded(float field, double amount) {
    return static_cast<float>(static_cast<double>(field) + amount);
}

}  // namespace

int Scene::UpdateCamera() {
    MoveCamera();
    MultiplyView();
    return 1;
}

void Scene::MultiplyView() const {
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2] + pitch, 0.0, 0.0, 1.0);
}

bool Scene::TurnCamera(float& step) {
    step = kWalkStep;

    // The pointer and the keys are the walk-through's only while its window has the focus:
    // another program's clicks and keys are left alone, and keys held when the focus went count
    // as released.
    platform::CursorPoint home;
    const bool focused = platform::WindowHasInputFocus() && platform::GetPointerHome(home);
    const auto held = [focused](int key) { return focused && platform::IsKeyHeld(key); };
    if (focused) {
        // Taking the pointer (on gaining the focus, or when the window has moved) puts it at the
        // centre first, so that the view does not jump by where it happened to be.
        if (!pointerPlaced || home.x != pointerHomeX || home.y != pointerHomeY) {
            platform::SetCursorScreenPosition(home.x, home.y);
        }
        platform::CursorPoint pt;
        // Where the platform cannot tell the cursor position the mouse leaves the view alone
        // rather than turning it by a made-up offset.
        if (platform::GetCursorScreenPosition(pt)) {
            yawDegrees =
                AddRounded(yawDegrees, (pt.x - home.x) * static_cast<double>(kMouseFactor));
            pitch = AddRounded(pitch, (home.y - pt.y) * static_cast<double>(kMouseFactor));
        }
        platform::SetCursorScreenPosition(home.x, home.y);
        pointerHomeX = home.x;
        pointerHomeY = home.y;
    }
    pointerPlaced = focused;
    if (pitch > kPitchLimit) {
        pitch = kPitchLimit;
    }
    if (pitch < -kPitchLimit) {
        pitch = -kPitchLimit;
    }

    if (held(platform::kKeyShift)) {
        step = static_cast<float>(static_cast<double>(step) * kShiftFactor);
    }
    if (held(platform::kKeyLeft)) {
        yawDegrees = AddRounded(yawDegrees, -2.0 * step);
    }
    if (held(platform::kKeyRight)) {
        yawDegrees = AddRounded(yawDegrees, 2.0 * step);
    }
    yaw = static_cast<float>(static_cast<double>(yawDegrees) * kPi / 180.0);
    return focused;
}

void Scene::LookAhead() {
    target[0] = eye[0] + std::sin(static_cast<double>(yaw)) * kLookDistance;
    target[1] = eye[1] + std::cos(static_cast<double>(yaw)) * kLookDistance;
    target[2] = eye[2];
}

void Scene::MoveCamera() {
    float step = 0.0f;
    const bool focused = TurnCamera(step);
    const auto held = [focused](int key) { return focused && platform::IsKeyHeld(key); };

    if (held(platform::kKeyPageUp)) {
        heightOffset = AddRounded(heightOffset, kHeightStep);
    }
    if (held(platform::kKeyPageDown)) {
        heightOffset = AddRounded(heightOffset, -static_cast<double>(kHeightStep));
    }

    // Forward is (sin yaw, cos yaw); right is (cos yaw, -sin yaw).
    struct Move {
        int key;
        double forward;
        double right;
    };
    static constexpr Move kMoves[] = {
        {platform::kKeyUp, 1.0, 0.0}, {platform::kKeyDown, -1.0, 0.0}, {platform::kKeyW, 1.0, 0.0},
        {platform::kKeyS, -1.0, 0.0}, {platform::kKeyA, 0.0, -1.0},    {platform::kKeyD, 0.0, 1.0},
    };
    for (const Move& move : kMoves) {
        if (!held(move.key)) {
            continue;
        }
        const double sinYaw = std::sin(static_cast<double>(yaw));
        const double cosYaw = std::cos(static_cast<double>(yaw));
        if (move.forward != 0.0) {
            eye[0] += move.forward * (sinYaw * step);
            eye[1] += move.forward * (cosYaw * step);
        } else {
            eye[0] += move.right * (cosYaw * step);
            eye[1] -= move.right * (sinYaw * step);
        }
    }

    eye[2] = kEyeBaseHeight + heightOffset;
    LookAhead();
}
