// The faces a body walks among, in world coordinates: the reader's meshes read where they lie
// (no copy of a vertex or a face), placed into the world by the one uniform scale and
// translation that drawing places them by.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "scene/Model.h"
#include "walk/Vector.h"

// A box in the meshes' own units (the file's coordinates), exactly as its single-precision
// corners give it.
struct MeshBox {
    float low[3];
    float high[3];

    void Add(const MeshBox& other) {
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], other.low[axis]);
            high[axis] = std::max(high[axis], other.high[axis]);
        }
    }
    // Its width, depth and height added up.
    float Span() const { return (high[0] - low[0]) + (high[1] - low[1]) + (high[2] - low[2]); }
};

class WorldFaces {
public:
    // A point p of the meshes stands at scale * p + translation in the world: for a model the
    // reader read and placed, scale = the placement's world scale * the master scale, and
    // translation = the placement's (drawing moves and scales it so).
    explicit WorldFaces(double scale = 1.0, const Vec3& translation = {});

    // Adds every mesh after the sentinel `meshHead`. The meshes must outlive this object and
    // keep their vertices where they are: a model released, shifted or read anew needs new faces
    // (and a new index).
    void AddMeshes(const Mesh* meshHead);
    void AddMesh(const Mesh& mesh);
    // Faces given as three vertex indices each into `vertices` (x, y, z floats), as a drawing
    // lays them out, read where they lie: they must outlive this object and stay where they
    // are. Faces naming a vertex past `vertexCount` are left out as a mesh's are.
    void AddIndexedFaces(const float* vertices, std::size_t vertexCount,
                         const std::uint16_t* corners, std::size_t faceCount);
    // Triangles of nine coordinates each (the meshes' units), copied into the reader's layout;
    // for geometry that no file holds.
    void AddTriangles(const std::vector<float>& xyz);

    // Faces are numbered in the order added, from 0. At most kMaxFaces are kept (2^25, a file of
    // over 250 MB of faces); the rest are left out and counted.
    static constexpr std::uint32_t kMaxFaces = (1u << 25) - 1;
    std::uint32_t FaceCount() const { return faceCount_; }
    std::uint64_t FacesLeftOut() const { return leftOut_; }

    // Whether a face with these corners (in the world) can stop a body: every coordinate
    // finite and an area above nothing.
    static bool Walkable(const Vec3 corners[3]);
    // Calls visit(id, corners) for faces first .. first + count - 1 in turn, leaving out those
    // that name a vertex their mesh does not have.
    template <class Visit>
    void ForEachFace(std::uint32_t first, std::uint32_t count, Visit&& visit) const;
    // Calls visit(id, box) for faces first .. end - 1 whose corners their mesh has and are
    // finite, in turn, with the face's box in the meshes' units: far cheaper than its corners
    // in the world.
    template <class Visit>
    void ForEachMeshBox(std::uint32_t first, std::uint32_t end, Visit&& visit) const;
    Box3 ToWorld(const MeshBox& box) const;

private:
    struct Span {
        const unsigned char* vertices;  // x, y, z floats per vertex, unaligned
        std::int32_t vertexCount;
        // Three vertex indices per face, then (in the reader's records) a flags word.
        const std::uint16_t* records;
        std::uint32_t faceCount;
        std::uint32_t recordWords;  // 4 in the reader's records, 3 as a drawing lays faces out
    };
    void AddSpan(const Span& span);
    std::size_t SpanOf(std::uint32_t id) const;
    // Vertex `index` of the span in the world; the caller has checked the index.
    Vec3 Vertex(const Span& span, std::size_t index) const {
        float xyz[3];
        std::memcpy(xyz, span.vertices + 12 * index, sizeof xyz);
        return Vec3{xyz[0], xyz[1], xyz[2]} * scale_ + translation_;
    }

    double scale_;
    Vec3 translation_;
    std::vector<Span> spans_;
    std::vector<std::uint32_t> spanStarts_;  // the number of each span's first face
    std::uint32_t faceCount_ = 0;
    std::uint64_t leftOut_ = 0;
    // What AddTriangles copied: each inner buffer keeps its place when the outer one grows.
    std::vector<std::vector<unsigned char>> ownedVertices_;
    std::vector<std::vector<std::uint16_t>> ownedRecords_;
};

template <class Visit>
void WorldFaces::ForEachFace(std::uint32_t first, std::uint32_t count, Visit&& visit) const {
    const std::uint32_t end = first + std::min(count, faceCount_ - std::min(first, faceCount_));
    std::uint32_t id = first;
    for (std::size_t spanIndex = id < end ? SpanOf(id) : spans_.size();
         id < end && spanIndex < spans_.size(); ++spanIndex) {
        const Span& span = spans_[spanIndex];
        const std::uint32_t spanEnd = std::min(end, spanStarts_[spanIndex] + span.faceCount);
        for (; id < spanEnd; ++id) {
            const std::uint16_t* record =
                span.records + span.recordWords * std::size_t{id - spanStarts_[spanIndex]};
            if (record[0] < span.vertexCount && record[1] < span.vertexCount &&
                record[2] < span.vertexCount) {
                const Vec3 corners[3] = {Vertex(span, record[0]), Vertex(span, record[1]),
                                         Vertex(span, record[2])};
                visit(id, corners);
            }
        }
    }
}

template <class Visit>
void WorldFaces::ForEachMeshBox(std::uint32_t first, std::uint32_t end, Visit&& visit) const {
    end = std::min(end, faceCount_);
    std::uint32_t id = first;
    for (std::size_t spanIndex = id < end ? SpanOf(id) : spans_.size(); id < end; ++spanIndex) {
        const Span& span = spans_[spanIndex];
        const std::uint32_t spanStart = spanStarts_[spanIndex];
        const std::uint32_t spanEnd = std::min(end, spanStart + span.faceCount);
        for (; id < spanEnd; ++id) {
            const std::uint16_t* record =
                span.records + span.recordWords * std::size_t{id - spanStart};
            if (record[0] >= span.vertexCount || record[1] >= span.vertexCount ||
                record[2] >= span.vertexCount) {
                continue;
            }
            float xyz[3][3];
            for (int corner = 0; corner < 3; ++corner) {
                std::memcpy(xyz[corner], span.vertices + 12 * std::size_t{record[corner]},
                            sizeof xyz[corner]);
            }
            MeshBox box;
            float sum = 0.0f;
            for (int axis = 0; axis < 3; ++axis) {
                box.low[axis] = std::min(std::min(xyz[0][axis], xyz[1][axis]), xyz[2][axis]);
                box.high[axis] = std::max(std::max(xyz[0][axis], xyz[1][axis]), xyz[2][axis]);
                sum += (xyz[0][axis] + xyz[1][axis]) + xyz[2][axis];
            }
            if (std::isfinite(sum)) {  // a coordinate not a number, or infinite, makes it neither
                visit(id, box);
            }
        }
    }
}
