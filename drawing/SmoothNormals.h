// Normals per face corner for a mesh with smoothing groups, so that curved surfaces are shaded
// smooth where their author marked them.
#pragma once

#include <vector>

#include "scene/Model.h"

// Nine floats per face: the x, y, z of the normal at its first, second and third corner. At a
// corner, the unit average of the normals of the faces that share a smoothing-group bit with
// the face and have a corner at the same place (the same vertex, or another with the same
// coordinates: exporters split vertices along texture seams), each weighted by its angle there,
// so that how a surface is cut into triangles does not tilt the average. A face with no bits,
// and a face GL cannot draw, keeps its face normal at every corner. Empty when the mesh has no
// smoothing mask for each face.
std::vector<float> SmoothCornerNormals(const Mesh& mesh);
// The same for the mesh drawn with `vertices` (three floats per vertex, where the mesh is placed)
// and `faceNormals` (three per face) in place of its own; the mesh need not hold normals.
std::vector<float> SmoothCornerNormals(const Mesh& mesh, const float* vertices,
                                       const float* faceNormals);
