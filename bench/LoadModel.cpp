#include "bench/LoadModel.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

namespace {

constexpr int kMaterialCount = 8;
constexpr int kColumns = 200;

void WriteMesh(ChunkWriter& w, const LoadModelShape& shape, int mesh) {
    const int vertexCount = shape.facesPerMesh * 4 / 5;
    w.Begin(chunk::kNamedObject);
    w.String("Mesh" + std::to_string(mesh));
    w.Begin(chunk::kTriMesh);
    std::vector<float> xyz;
    xyz.reserve(3 * static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        const float x = static_cast<float>(i % kColumns) + 250.0f * static_cast<float>(mesh);
        const float y = static_cast<float>(i / kColumns);
        xyz.insert(xyz.end(), {x, y, std::sin(0.1f * x) * std::cos(0.13f * y)});
    }
    w.VertexList(xyz);
    w.Begin(chunk::kFaceList);
    std::vector<std::uint16_t> abc;
    abc.reserve(3 * static_cast<std::size_t>(shape.facesPerMesh));
    const int corners = vertexCount - kColumns - 1;
    for (int f = 0; f < shape.facesPerMesh; ++f) {
        const auto k = static_cast<std::uint16_t>((f / 2) % corners);
        if (f % 2 == 0) {
            abc.insert(abc.end(), {k, static_cast<std::uint16_t>(k + 1),
                                   static_cast<std::uint16_t>(k + kColumns)});
        } else {
            abc.insert(abc.end(), {static_cast<std::uint16_t>(k + 1),
                                   static_cast<std::uint16_t>(k + kColumns + 1),
                                   static_cast<std::uint16_t>(k + kColumns)});
        }
    }
    w.FaceRecords(abc);
    w.MaterialGroup("MATERIAL" + std::to_string(mesh % kMaterialCount), {0});
    w.End();
    w.End();
    w.End();
}

}  // namespace

bool WriteLoadModel(const LoadModelShape& shape, const std::string& path) {
    ChunkWriter w;
    w.Begin(chunk::kMain);
    w.Begin(chunk::kEditor);
    w.MasterScale(1.0f);
    for (int m = 0; m < kMaterialCount; ++m) {
        w.Material("Material" + std::to_string(m), static_cast<std::uint8_t>(30 * m), 128,
                   static_cast<std::uint8_t>(255 - 30 * m));
    }
    for (int mesh = 0; mesh < shape.meshCount; ++mesh) {
        WriteMesh(w, shape, mesh);
    }
    w.End();
    w.End();
    return w.WriteFile(path);
}
