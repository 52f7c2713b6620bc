// A loaded model laid out for drawing as its author made it: the faces of every mesh grouped
// into batches by material, each batch in parts with their own vertex arrays (DrawingParts.h),
// built once after loading. No GL here.
#pragma once

#include <functional>
#include <vector>

#include "drawing/DrawingParts.h"
#include "scene/Model.h"

// Faces drawn alike: one colour, one texture or none, one side or two, flat or smooth.
struct MaterialBatch {
    float color[4];    // red, green, blue, alpha (1 - transparency); white when textured
    int texture = -1;  // the index TextureOfMaterial gave, or -1 for the colour alone
    bool twoSided = false;
    bool transparent = false;
    bool smooth = false;  // normals per corner from smoothing groups; else one per face
    PartArrays arrays;
};

struct MaterialBatches {
    // Opaque batches first, then transparent ones, each in the order the file first uses them.
    std::vector<MaterialBatch> batches;
};

// The texture a material is drawn with: an index the drawing knows, or -1 for its colour.
using TextureOfMaterial = std::function<int(const Material&)>;

// Told of each mesh, once, when the layout reads it no more.
using MeshLaidOut = std::function<void(const Mesh&)>;

// Lays out the meshes from `firstMesh` on, in parts of the given order, their vertices placed
// as `placement` says. Each material whose faces have mapping coordinates is asked for once,
// before the batches are laid out; one without a texture is drawn in its colour. `laidOut`
// (when set) is told of each mesh as soon as the layout is done with it, so that what it holds
// can be given back while the rest is laid out.
MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const TextureOfMaterial& textureOf,
                                     PartOrder order, const VertexPlacement& placement = {},
                                     const MeshLaidOut& laidOut = nullptr);
