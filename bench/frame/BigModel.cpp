#include "bench/frame/BigModel.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/make-sample/PngEncoder.h"
#include "tools/make-sample/TexturePatterns.h"
#include "tools/make-sample/TexturedPalette.h"

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
    Pattern pattern;  // the textured model's map
    const char* mapName;
};
constexpr TileColor kColors[] = {{"Moss", 90, 140, 60, Pattern::kGrass, "MOSS.PNG"},
                                 {"Clay", 170, 110, 70, Pattern::kBrick, "CLAY.PNG"},
                                 {"Slate", 110, 120, 140, Pattern::kPavement, "SLATE.PNG"},
                                 {"Sand", 200, 180, 120, Pattern::kAsphalt, "SAND.PNG"}};
constexpr float kMapRepeat = 2.0f;  // world units per repeat of a map

float Height(float x, float y) {
    return 1.5f * std::sin(x * 0.7f) * std::cos(y * 0.5f);
}

// Mapping coordinates for every vertex of the textured model's tile.
std::vector<float> MapPlanar(const std::vector<float>& xyz) {
    std::vector<float> uv;
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        uv.insert(uv.end(), {xyz[i] / kMapRepeat, xyz[i + 1] / kMapRepeat});
    }
    return uv;
}

// The textured model's face groups: the tile's own material on each band's first row of quads,
// the next tile's on the second; every face in smoothing group 1.
void WriteTexturedGroups(ChunkWriter& w, int index, std::size_t faces) {
    std::vector<std::uint16_t> groups[2];
    for (std::size_t face = 0; face < faces; ++face) {
        const std::size_t row = face / (2 * kQuadsAcross);
        groups[row % kRowsPerBand == 0 ? 0 : 1].push_back(static_cast<std::uint16_t>(face));
    }
    w.MaterialGroup(kColors[index % 4].name, groups[0]);
    w.MaterialGroup(kColors[(index + 1) % 4].name, groups[1]);
    w.SmoothingGroups(std::vector<std::uint32_t>(faces, 1u));
}

void WriteTile(ChunkWriter& w, int index, bool textured) {
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
    if (textured) {
        w.MappingCoords(MapPlanar(xyz));
    }
    w.Begin(0x4120);
    w.FaceRecords(abc);
    if (textured) {
        WriteTexturedGroups(w, index, allFaces.size());
    } else {
        w.MaterialGroup(color.name, allFaces);
    }
    w.End();
    w.End();
    w.End();
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && static_cast<bool>(out.flush());
}

}  // namespace

bool WriteBigModel(const std::string& path, bool textured) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.MasterScale(1.0f);
    for (const TileColor& color : kColors) {
        w.Begin(chunk::kMaterialBlock);
        w.Begin(chunk::kMaterialName);
        w.String(color.name);
        w.End();
        w.DiffuseColor(color.red, color.green, color.blue);
        if (textured) {
            w.TextureMap(color.mapName);
        }
        w.End();
    }
    for (int tile = 0; tile < kBigModelMeshes; ++tile) {
        WriteTile(w, tile, textured);
    }
    w.End();
    w.End();
    bool written = w.WriteFile(path);
    for (const TileColor& color : kColors) {
        if (textured) {
            const std::filesystem::path image =
                std::filesystem::path(path).replace_filename(MapFileName(color.mapName));
            written = WriteBytes(image, EncodePng(PaintPattern(color.pattern))) && written;
        }
    }
    return written;
}
