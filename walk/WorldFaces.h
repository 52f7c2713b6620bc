// The faces a body walks among, in world coordinates: the reader's meshes read where they lie
// (no copy of a vertex or a face), placed into the world by the one uniform scale and
// translation that drawing places them by.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/Model.h"
#include "walk/Vector.h"

class WorldFaces {
public:
    // A drawn point p stands at scale * p + translation in the world. For a model the reader
    // read: scale = world scale * master scale, translation = the placement's.
    explicit WorldFaces(double scale = 1.0, const Vec3& translation = {});

    // Adds every mesh after the sentinel `meshHead`. The meshes must outlive this object and
    // keep their vertices where they are: a model released, shifted or read anew needs new faces
    // (and a new index).
    void AddMeshes(const Mesh* meshHead);
    void AddMesh(const Mesh& mesh);
    // Triangles of nine coordinates each (drawn units), copied into the reader's layout; for
    // geometry that no file holds.
    void AddTriangles(const std::vector<float>& xyz);

    // Faces are numbered in the order added, from 0. At most kMaxFaces are kept (2^27, a file of
    // more than a gigabyte of faces); the rest are left out and counted.
    static constexpr std::uint32_t kMaxFaces = (1u << 27) - 1;
    std::uint32_t FaceCount() const { return faceCount_; }
    std::uint64_t FacesLeftOut() const { return leftOut_; }

    // The corners of face `id` in the world; false when the face names a vertex its mesh does
    // not have (or no such face exists). Walkable() says whether a face with these corners can
    // stop a body: every coordinate finite and an area above nothing.
    bool Corners(std::uint32_t id, Vec3 corners[3]) const;
    static bool Walkable(const Vec3 corners[3]);

private:
    struct Span {
        const unsigned char* vertices;  // x, y, z floats per vertex, unaligned
        std::int32_t vertexCount;
        const std::uint16_t* records;  // three vertex indices and a flags word per face
        std::uint32_t faceCount;
    };
    void AddSpan(const Span& span);

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
