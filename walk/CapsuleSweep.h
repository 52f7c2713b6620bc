// The geometry of a moving body against one face: distances between a segment and a triangle,
// and the first contact of a capsule moving in a straight line. Faces have no front or back.
#pragma once

#include "walk/Vector.h"

// The points within `radius` of the segment from `bottom` to `top`; a sphere when they meet.
struct Capsule {
    Vec3 bottom;
    Vec3 top;
    double radius = 0.0;

    Capsule Moved(const Vec3& by) const { return {bottom + by, top + by, radius}; }
    Box3 Bounds() const;
};

// The distance between the segment from p to q and the triangle, and the closest point of each.
double SegmentTriangleDistance(const Vec3& p, const Vec3& q, const Vec3 triangle[3],
                               Vec3& onSegment, Vec3& onTriangle);

// The first contact of a moving body, as a fraction of its move.
struct Contact {
    double time = 1.0;  // the share of the move made before the contact; 1 with none
    bool hit = false;
    Vec3 normal;      // unit, from the point touched towards the body's axis
    Vec3 faceNormal;  // unit, the touched face's own, on the body's side
};

// Moves `capsule` by `move` against the triangle and keeps in `first` whichever contact comes
// earlier, this one or the one it holds; of two at the same time (the faces on either side of
// an edge), the face that faces up the most, so that a body on the edge of a step or a floor
// stands on it. A body that stops where a contact says never comes
// nearer the face than its radius (less a billionth of it), however long the move: the move is
// swept, not tested where it ends. A body that already touches the face (or reaches into it)
// may move along it or away from it, never further in.
void SweepCapsule(const Capsule& capsule, const Vec3& move, const Vec3 triangle[3], Contact& first);

// The distance between the capsule's axis and the triangle, less the capsule's radius:
// negative when the capsule reaches into the face.
double Clearance(const Capsule& capsule, const Vec3 triangle[3]);
