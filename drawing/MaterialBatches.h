// A loaded model laid out for drawing as its author made it: the faces of every mesh grouped
// into batches by material, each batch in parts with their own vertex arrays (DrawingParts.h),
// built once after loading, and the decoded texture images. No GL here.
#pragma once

#include <string>
#include <vector>

#include "drawing/DrawingParts.h"
#include "scene/Model.h"
#include "scene/TextureImages.h"

// Faces drawn alike: one colour, one texture or none, one side or two, flat or smooth.
struct MaterialBatch {
    float color[4];    // red, green, blue, alpha (1 - transparency); white when textured
    int texture = -1;  // index into MaterialBatches::images, or -1 for the colour alone
    bool twoSided = false;
    bool transparent = false;
    bool smooth = false;  // normals per corner from smoothing groups; else one per face
    PartArrays arrays;
};

struct MaterialBatches {
    // Opaque batches first, then transparent ones, each in the order the file first uses them.
    std::vector<MaterialBatch> batches;
    std::vector<TextureImage> images;
};

// Lays out the meshes from `firstMesh` on, in parts of the given order. Each textured
// material's image is found beside `modelPath` and decoded once; one that cannot be is said in
// one line on standard error, and its faces are drawn in the material's colour.
MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const std::string& modelPath,
                                     PartOrder order);
