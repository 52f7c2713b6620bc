// What the inspector prints about a model's materials and how its meshes use them.
#pragma once

#include <cstdio>

class Scene;

// One line per material with a texture map: its file and where it was found beside the model.
void PrintTextureFiles(const Scene& scene, const char* modelPath, std::FILE* out);

// The counts of meshes drawn with a texture, with a transparent material and smoothed.
void PrintMeshMaterialCounts(std::FILE* out);

// Every material's details, newest first, then per mesh its mapping coordinates and, per face,
// its material and smoothing groups; floats with %.9g.
void PrintMaterialDump(const Scene& scene, std::FILE* out);
