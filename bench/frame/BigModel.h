// The benchmark's model: 40 meshes of 30,000 faces each (about 20 MB), bumpy ground tiles
// spread in front of the start pose, written with the chunk writer. Textured, each tile has two
// materials with texture maps, mapping coordinates and one smoothing group, and the images are
// written beside the model.
#pragma once

#include <string>

constexpr int kBigModelMeshes = 40;
constexpr int kBigModelFacesPerMesh = 30000;

bool WriteBigModel(const std::string& path, bool textured = false);
