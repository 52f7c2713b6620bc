// Solids for the sample model, each wound so that every face's normal points out of it.
//
// Coordinates are the world's: x and y span the ground, z points up. A footprint is listed
// counter-clockwise seen from above, so the outside of each edge lies to its right. Solids that
// stand on the ground have no bottom face and a solid that carries another on top has no top
// face: a face that can never be seen is left out.
#pragma once

#include "tools/make-sample/MeshBuilder.h"

struct Vec2 {
    float x, y;
};

enum class Caps { kNone, kTop, kTopAndBottom };

// A vertical wall along the footprint edge a to b, facing to the right of that edge.
void AddWall(MeshBuilder& mesh, Vec2 a, Vec2 b, float z0, float z1);

// An axis-aligned box from `low` to `high`; Caps::kNone leaves out the top as well.
void AddBox(MeshBuilder& mesh, const Vec3& low, const Vec3& high, Caps caps = Caps::kTop);

// A square frustum standing at z0 on the centre, tapering from halfBottom to halfTop at z1.
void AddFrustum(MeshBuilder& mesh, Vec2 centre, float z0, float z1, float halfBottom, float halfTop,
                Caps caps);

// A square pyramid with its base at z0.
void AddPyramid(MeshBuilder& mesh, Vec2 centre, float z0, float halfWidth, float height);

// A house with a ridge roof: walls up to the eaves and gable ends up to the ridge in `walls`,
// the two roof slopes in `roof`. halfLength runs along the ridge.
void AddGabledHouse(MeshBuilder& walls, MeshBuilder& roof, Vec2 centre, float halfLength,
                    float halfDepth, float eave, float ridge, bool ridgeAlongY);

// A cylinder of `segments` sides around the vertical axis through the centre.
void AddCylinder(MeshBuilder& mesh, Vec2 centre, float z0, float z1, float radius, int segments,
                 Caps caps);

// A cone from a base circle at z0 to its apex at apexZ; the base disc faces down when closed.
void AddCone(MeshBuilder& mesh, Vec2 centre, float z0, float apexZ, float radius, int segments,
             bool withBase);

// A sphere of `segments` meridians and `rings` bands from pole to pole.
void AddSphere(MeshBuilder& mesh, const Vec3& centre, float radius, int segments, int rings);

// A smooth hill: an elliptic paraboloid cap of the given height that meets the ground at the
// ellipse with radii radiusX and radiusY. Its rim is steep enough to meet the ground crisply.
void AddHill(MeshBuilder& mesh, Vec2 centre, float radiusX, float radiusY, float height,
             int segments, int rings);
