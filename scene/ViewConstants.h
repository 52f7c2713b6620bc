// The walk-through's view, in world units: the camera's constants and the projection's. The
// camera, the projection and the view fit share them, so that a fitted start sees what the
// frame will show.
#pragma once

namespace view {

constexpr double kPi = 3.14159;  // the program's own value, kept so headings stay as they were
constexpr double kEyeBaseHeight = 3.0;
constexpr float kLookDistance = 100.0f;       // the look-at point's distance ahead of the eye
constexpr float kPitchLimit = 200.0f;         // its height over eye height, either way
constexpr double kFieldOfViewDegrees = 54.0;  // vertical
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 3000.0;

}  // namespace view
