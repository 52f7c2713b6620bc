// Where a walk starts: the camera fields a start pose sets. The walk-through's own start stands
// at (0, 15) looking along -y, level, at eye height; fitted views and file cameras give others.
#pragma once

struct StartPose {
    double eyeX = 0.0;
    double eyeY = 15.0;
    float heightOffset = 0.0f;  // the eye stands at eye height (3) plus this
    float yawDegrees = 180.0f;
    float pitch = 0.0f;
};
