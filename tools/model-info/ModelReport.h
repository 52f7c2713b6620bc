// What the inspector prints about a loaded Scene: a short summary for people, and a canonical
// dump that another reader's output can be compared with line by line.
#pragma once

#include <cstdio>

class Scene;

// Loaded flag, scale, bytes read, counts of the lists (with each material's texture file and
// whether it is beside the model, and the textured, transparent and smoothed meshes), the box the
// model is drawn in (file coordinates times the master scale), whether it looks made with y up,
// the file's cameras as read, and the problems the reader tolerated.
void PrintSummary(const Scene& scene, const char* modelPath, std::FILE* out);

// Every value the reader produced, in list order (materials newest first, meshes in file
// order), floats with %.9g. Reads the lists from scene.materials and g_meshHead.
void PrintDump(const Scene& scene, std::FILE* out);
