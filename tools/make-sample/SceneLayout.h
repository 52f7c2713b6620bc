// The whole sample scene: palette, town, landmarks and ground, always the same.
#pragma once

#include "tools/make-sample/SampleScene.h"

// Where the walk-through puts the viewer's eye at start (x, y); the scene is arranged and its
// objects ordered for this view.
inline constexpr float kStartX = 0.0f;
inline constexpr float kStartY = 15.0f;

SampleScene BuildSampleScene();
