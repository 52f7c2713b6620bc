// Model files for the reader's tests and the fuzzer's seed corpus, all built in code with the
// chunk writer: well-formed ones and ones damaged in each way the reader must tolerate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

namespace test_models {

using Bytes = std::vector<unsigned char>;

// A named object (0x4000) holding a triangle mesh (0x4100) with a vertex list, a face list and
// the face list's material groups (each naming every face). Empty vertices or faces leave that
// list out.
struct MeshSpec {
    std::string object = "Box";
    std::vector<float> xyz;
    std::vector<std::uint16_t> abc;
    std::vector<std::string> groups;
};

inline void MeshObject(ChunkWriter& w, const MeshSpec& meshSpec) {
    w.Begin(0x4000);
    w.String(meshSpec.object);
    w.Begin(0x4100);
    if (!meshSpec.xyz.empty()) {
        w.VertexList(meshSpec.xyz);
    }
    if (!meshSpec.abc.empty()) {
        w.Begin(0x4120);
        w.FaceRecords(meshSpec.abc);
        std::vector<std::uint16_t> allFaces;
        for (std::uint16_t i = 0; i < meshSpec.abc.size() / 3; ++i) {
            allFaces.push_back(i);
        }
        for (const std::string& group : meshSpec.groups) {
            w.MaterialGroup(group, allFaces);
        }
        w.End();
    }
    w.End();
    w.End();
}

// The main chunk around the editor chunk around whatever `contents` writes.
inline Bytes EditorFile(const std::function<void(ChunkWriter&)>& contents) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    contents(w);
    w.End();
    w.End();
    return w.bytes();
}

const std::vector<float> kUnitTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

// The smallest complete model, 143 bytes: scale 1, a material Red of colour (1, 0, 0), and a
// mesh Box with one triangle whose material group names Red.
inline Bytes RedTriangle() {
    return EditorFile([](ChunkWriter& w) {
        w.MasterScale(1.0f);
        w.Material("Red", 255, 0, 0);
        MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {"Red"}});
    });
}

// Several materials and meshes, a light, a camera and an unknown chunk: a seed that reaches
// every reader.
inline Bytes SmallScene() {
    return EditorFile([](ChunkWriter& w) {
        w.MasterScale(2.5f);
        w.Material("Brick", 200, 80, 60);
        w.Material("Grass", 40, 160, 40);
        w.Begin(0xAFFF);
        w.Begin(0xA000);
        w.String("Glass");
        w.End();
        w.End();
        w.Begin(0x4000);
        w.String("Sun");
        w.Begin(0x4600);
        w.Float(0);
        w.Float(0);
        w.Float(100);
        w.End();
        w.End();
        MeshObject(w, {"Ground",
                       {-10, -10, 0, 10, -10, 0, 10, 10, 0, -10, 10, 0},
                       {0, 1, 2, 0, 2, 3},
                       {"GRASS"}});
        w.Begin(0x1234);
        w.U32(0xDEADBEEF);
        w.End();
        MeshObject(w, {"House",
                       {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 0, 5, 4, 0, 5},
                       {0, 1, 3, 1, 4, 3, 1, 2, 4},
                       {"brick", "Glass"}});
        w.Begin(0x4000);
        w.String("Camera01");
        w.Begin(0x4700);
        for (int i = 0; i < 8; ++i) {
            w.Float(static_cast<float>(i));
        }
        w.End();
        w.End();
    });
}

}  // namespace test_models
