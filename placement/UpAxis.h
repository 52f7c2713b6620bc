// Which way is up in a model file. The walk-through's world has z up; models converted from other
// formats, and made in tools whose up axis is y, stand on the x-z plane instead and would be
// drawn lying on their side.
#pragma once

#include "scene/Scene.h"

enum class UpAxis { kZ, kY };

// Turns a y-up model upright in the scene, in place: every vertex, face normal and camera
// (x, y, z) becomes (x, -z, y), a quarter turn about x. Exact in floating point, so the model
// is drawn and lit as if it had been written that way.
void StandUpright(Scene& scene);
// The same turn of the file's cameras alone, for a model whose vertices are turned as a drawing
// copies them.
void StandCamerasUpright(Scene& scene);
// A point of the file turned so.
inline void TurnUpright(const float xyz[3], float turned[3]) {
    const float x = xyz[0], y = xyz[1], z = xyz[2];
    turned[0] = x;
    turned[1] = -z;
    turned[2] = y;
}

// Whether the model looks made with y up: faces that face along y (within about 25 degrees)
// cover at least one and a half times the area of those that face along z, and a sixth of the
// model at least, as floors, roofs and the ground of a y-up model do, and the model is more than
// a wall (a twentieth of it faces along x or z). Only a hint; a big model is judged by some
// hundred thousand of its faces.
bool LooksYUp(const Mesh* meshHead);
