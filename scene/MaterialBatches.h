// A loaded model laid out for drawing as its author made it: the faces of every mesh grouped
// into batches by material, as flat vertex arrays built once after loading, and the decoded
// texture images. No GL here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scene/Model.h"
#include "scene/TextureImages.h"

// Faces drawn alike: one colour, one texture or none, one side or two.
struct MaterialBatch {
    float color[4];    // red, green, blue, alpha (1 - transparency); white when textured
    int texture = -1;  // index into MaterialBatches::images, or -1 for the colour alone
    bool twoSided = false;
    bool transparent = false;
    std::size_t firstCorner = 0;  // into the arrays, three corners per face
    std::size_t cornerCount = 0;
};

struct MaterialBatches {
    // Opaque batches first, then transparent ones, each in the order the file first uses them;
    // the faces of a batch in file order.
    std::vector<MaterialBatch> batches;
    std::vector<float> positions;  // x, y, z per corner
    std::vector<float> normals;    // x, y, z per corner
    // u, v per corner, scaled and offset as the material says, for the corners of the textured
    // batches, which come first in the arrays.
    std::vector<float> texCoords;
    std::vector<TextureImage> images;
};

// Lays out the meshes from `firstMesh` on. Each textured material's image is found beside
// `modelPath` and decoded once; one that cannot be is said in one line on standard error, and
// its faces are drawn in the material's colour.
MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const std::string& modelPath);
