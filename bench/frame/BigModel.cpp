#include "bench/frame/BigModel.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// A tile is 150 x 100 quads of two faces. Its vertices come in bands of two quad rows that share
// no vertex with the next band, which brings a mesh to 22,650 vertices and the file to 20 MB.
constexpr int kQuadsAcross = 150;
constexpr int kQuadRows = 100;
constexpr int kRowsPerBand = 2;
constexpr int kTileColumns = 8;
constexpr float kTileSize = 20.0f;

struct TileColor {
    const char* name;
    std::uint8_t red, green, blue;
};
constexpr TileColor kColors[] = {{"Moss", 90, 140, 60},
                                 {"Clay", 170, 110, 70},
                                 {"Slate", 110, 120, 140},
                                 {"Sand", 200, 180, 120}};

float Height(float x, float y) {
    return 1.5f * std::sin(x * 0.7f) * std::cos(y * 0.5f);
}

void WriteTile(ChunkWriter& w, int index) {
    const float left = (index % kTileColumns - kTileColumns / 2) * kTileSize;
    const float near = kTileSize - (index / kTileColumns) * kTileSize;
    const float step = kTileSize / kQuadsAcross;
    const float rowStep = kTileSize / kQuadRows;

    std::vector<float> xyz;
    std::vector<std::uint16_t> abc;
    for (int band = 0; band < kQuadRows / kRowsPerBand; ++band) {
        const auto first = static_cast<std::uint16_t>(xyz.size() / 3);
        for (int row = 0; row <= kRowsPerBand; ++row) {
            const float y = near - (band * kRowsPerBand + row) * rowStep;
            for (int column = 0; column <= kQuadsAcross; ++column) {
                const float x = left + column * step;
                xyz.insert(xyz.end(), {x, y, Height(x, y)});
            }
        }
        for (int row = 0; row < kRowsPerBand; ++row) {
            for (int column = 0; column < kQuadsAcross; ++column) {
                const auto a =
                    static_cast<std::uint16_t>(first + row * (kQuadsAcross + 1) + column);
                const auto b = static_cast<std::uint16_t>(a + 1);
                const auto c = static_cast<std::uint16_t>(a + kQuadsAcross + 1);
                const auto d = static_cast<std::uint16_t>(c + 1);
                abc.insert(abc.end(), {a, c, b, b, c, d});
            }
        }
    }

    const TileColor& color = kColors[index % 4];
    std::vector<std::uint16_t> allFaces(abc.size() / 3);
    for (std::size_t face = 0; face < allFaces.size(); ++face) {
        allFaces[face] = static_cast<std::uint16_t>(face);
    }
    w.Begin(0x4000);
    w.String("Tile" + std::to_string(index));
    w.Begin(0x4100);
    w.VertexList(xyz);
    w.Begin(0x4120);
    w.FaceRecords(abc);
    w.MaterialGroup(color.name, allFaces);
    w.End();
    w.End();
    w.End();
}

}  // namespace

bool WriteBigModel(const std::string& path) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.MasterScale(1.0f);
    for (const TileColor& color : kColors) {
        w.Material(color.name, color.red, color.green, color.blue);
    }
    for (int tile = 0; tile < kBigModelMeshes; ++tile) {
        WriteTile(w, tile);
    }
    w.End();
    w.End();
    return w.WriteFile(path);
}
