// The layout of a named model's faces in parts, as a property over generated meshes: whatever
// the faces, each is drawn once, from its own corners placed as placement/ places them, lit as
// GL would light it face by face with the normal the reader computes, the parts in file order
// with their boxes around their vertices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "drawing/DrawingParts.h"
#include "drawing/SmoothNormals.h"
#include "placement/ModelPlacement.h"
#include "scene/Scene.h"
#include "tests/support/ModelFile.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// Meshes of `faces` faces over vertices on a small grid, so that many share a place, with a
// few faces naming a vertex the mesh lacks and, when `smooth`, random smoothing groups.
std::vector<unsigned char> RandomModel(std::mt19937& random, int meshes, int faces, bool smooth) {
    ChunkWriter w;
    w.BeginModel();
    for (int m = 0; m < meshes; ++m) {
        const int vertexCount = 3 + static_cast<int>(random() % 40);
        MeshObjectSpec mesh{"Mesh" + std::to_string(m), {}, {}, {}};
        for (int v = 0; v < 3 * vertexCount; ++v) {
            mesh.xyz.push_back(static_cast<float>(random() % 5));
        }
        for (int f = 0; f < faces; ++f) {
            for (int corner = 0; corner < 3; ++corner) {
                const bool missing = random() % 50 == 0;
                mesh.abc.push_back(
                    static_cast<std::uint16_t>(missing ? vertexCount : random() % vertexCount));
            }
            if (smooth) {
                mesh.smoothing.push_back(random() % 3 == 0 ? 0u : 1u << (random() % 3));
            }
        }
        w.MeshObject(mesh);
    }
    w.EndModel();
    return w.bytes();
}

struct Corner {
    float xyz[3];
    float normal[3];
};

TEST(PartLayout, EveryFaceIsDrawnOnceFromItsCornersLitAsGlLightsItInFileOrder) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 24; ++round) {
        const bool smooth = round % 2 == 1;
        const PartOrder order = round % 3 == 0 ? PartOrder::kFileOrder : PartOrder::kSpatial;
        const std::size_t maxFaces = 1 + random() % 40;
        const ModelFile file(RandomModel(random, 1 + round % 3, 20 + round * 15, smooth));
        Scene scene(file.path());
        std::vector<const Mesh*> meshes;
        std::vector<std::vector<float>> smoothNormals;
        BatchFaces batch;
        struct FileFace {
            std::uint32_t mesh, face;
        };
        std::vector<FileFace> byNumber;
        std::vector<PlacedFace> faces;
        for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
            for (int face = 0; face < FaceCount(*mesh); ++face) {
                if (!IsDrawable(*mesh, face)) {
                    continue;
                }
                const auto meshIndex = std::uint32_t(meshes.size());
                PlacedFace placed{{0, 0, 0}, std::uint32_t(byNumber.size())};
                for (int corner = 0; corner < 3; ++corner) {
                    float xyz[3];
                    ReadVertex(*mesh, FaceRecord(*mesh, face)[corner], xyz);
                    for (int axis = 0; axis < 3; ++axis) {
                        placed.centre[axis] += xyz[axis];
                    }
                }
                faces.push_back(placed);
                batch.Add(meshIndex, std::uint32_t(face));
                byNumber.push_back({meshIndex, std::uint32_t(face)});
            }
            meshes.push_back(mesh);
            smoothNormals.push_back(SmoothCornerNormals(*mesh));
        }
        const std::vector<FaceRange> ranges =
            SplitIntoParts(faces.data(), faces.size(), order, maxFaces);
        PartShading shading;
        shading.smoothNormals = smooth ? &smoothNormals : nullptr;
        PartArrays arrays;
        // Placed as drawing places a model: stood upright and centred far from the origin, or
        // left as read; expected where placement/ puts the file's vertices and normals.
        VertexPlacement placement;
        Placement placed;
        placement.upright = round % 4 == 2;
        placement.centred = round % 4 >= 2;
        const double centre[3] = {1e6 + random() % 1000 / 7.0, -3.5, 0.25};
        if (placement.centred) {
            std::copy(centre, centre + 3, placement.centre);
            std::copy(centre, centre + 3, placed.centre);
        }
        placed.up = placement.upright ? UpAxis::kY : UpAxis::kZ;
        placed.centred = placement.centred;
        PartLayout(meshes, placement).Write(batch, faces.data(), ranges, shading, arrays);

        // The faces as parts draw them, corner by corner, against the faces of the file.
        ASSERT_EQ(arrays.parts.size(), ranges.size());
        std::vector<std::pair<std::uint32_t, std::vector<Corner>>> drawn;  // by number
        std::size_t expectedCorner = 0;
        std::vector<bool> used(arrays.positions.size() / 3, false);
        for (std::size_t p = 0; p < ranges.size(); ++p) {
            const DrawingPart& part = arrays.parts[p];
            const FaceRange range = ranges[p];
            ASSERT_LE(range.end - range.begin, maxFaces);
            ASSERT_EQ(part.cornerCount, 3 * (range.end - range.begin));
            ASSERT_EQ(part.firstCorner, expectedCorner);
            expectedCorner += part.cornerCount;
            for (std::size_t f = range.begin + 1; f < range.end; ++f) {
                EXPECT_LT(faces[f - 1].number, faces[f].number) << "a part keeps the file's order";
            }
            if (p > 0) {  // parts in the order of their first faces, which is the file's
                EXPECT_LT(faces[ranges[p - 1].begin].number, faces[range.begin].number);
            }
            const std::size_t vertexEnd = p + 1 < ranges.size() ? arrays.parts[p + 1].firstVertex
                                                                : arrays.positions.size() / 3;
            // The part's box is its vertices' own, neither smaller nor larger.
            for (int axis = 0; axis < 3; ++axis) {
                float low = INFINITY, high = -INFINITY;
                for (std::size_t v = part.firstVertex; v < vertexEnd; ++v) {
                    low = std::min(low, arrays.positions[3 * v + axis]);
                    high = std::max(high, arrays.positions[3 * v + axis]);
                }
                EXPECT_EQ(part.min[axis], low);
                EXPECT_EQ(part.max[axis], high);
            }
            for (std::size_t f = range.begin; f < range.end; ++f) {
                std::vector<Corner> corners(3);
                for (int c = 0; c < 3; ++c) {
                    const std::size_t index =
                        arrays.corners[part.firstCorner + 3 * (f - range.begin) + c];
                    const std::size_t vertex = part.firstVertex + index;
                    ASSERT_LT(vertex, vertexEnd) << "a corner outside its part";
                    used[vertex] = true;
                    std::memcpy(corners[c].xyz, &arrays.positions[3 * vertex],
                                sizeof corners[c].xyz);
                    std::memcpy(corners[c].normal, &arrays.normals[3 * vertex],
                                sizeof corners[c].normal);
                }
                drawn.push_back({faces[f].number, corners});
            }
        }
        ASSERT_EQ(drawn.size(), byNumber.size()) << "every face once";
        EXPECT_EQ(std::count(used.begin(), used.end(), false), 0) << "a vertex no corner uses";
        std::stable_sort(drawn.begin(), drawn.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            ASSERT_EQ(drawn[i].first, i) << "a face lost or drawn twice";
            const FileFace face = byNumber[i];
            const Mesh& mesh = *meshes[face.mesh];
            const std::uint16_t* record = FaceRecord(mesh, int(face.face));
            float faceNormal[3];
            std::copy(mesh.normals + 3 * std::size_t(face.face),
                      mesh.normals + 3 * std::size_t(face.face) + 3, faceNormal);
            if (placement.upright) {
                TurnUpright(faceNormal, faceNormal);
            }
            const std::vector<float>& cornerNormals = smoothNormals[face.mesh];
            for (int c = 0; c < 3; ++c) {
                float xyz[3];
                ReadVertex(mesh, record[c], xyz);
                PlaceVertex(placed, xyz);
                const Corner& corner = drawn[i].second[std::size_t(c)];
                EXPECT_EQ(std::vector<float>(xyz, xyz + 3),
                          std::vector<float>(corner.xyz, corner.xyz + 3));
                // Flat shading lights a face with the normal at its last corner; smooth, each
                // corner has its own.
                const float* normal = smooth   ? cornerNormals.data() + 9 * face.face + 3 * c
                                      : c == 2 ? faceNormal
                                               : nullptr;
                if (normal != nullptr) {
                    EXPECT_EQ(std::vector<float>(normal, normal + 3),
                              std::vector<float>(corner.normal, corner.normal + 3))
                        << "round " << round << " face " << face.face << " corner " << c;
                }
            }
        }
    }
}

}  // namespace
