// The load benchmark's models: meshes of a rippled grid, four vertices for every five faces,
// each mesh in one of eight materials, written with the chunk writer. bench_load times reading
// them; make-big-model --huge writes the big one for whole-process runs.
#pragma once

#include <string>

struct LoadModelShape {
    const char* name;
    int meshCount;
    int facesPerMesh;
};

// About 20 MB (40 meshes of 30,000 faces) and about 160 MB (140 meshes of 65,535 faces, 9.17
// million faces).
inline constexpr LoadModelShape kLoadModels[] = {{"20MB", 40, 30000}, {"160MB", 140, 65535}};
inline constexpr const LoadModelShape& kHugeLoadModel = kLoadModels[1];

bool WriteLoadModel(const LoadModelShape& shape, const std::string& path);
