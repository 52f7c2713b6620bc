#include "walk/WorldFaces.h"

#include <algorithm>
#include <cstring>

namespace {

// A sliver whose sides meet at less than about 1e-9 radians is a line, not a face.
constexpr double kMinimumSine = 1e-9;

// The reader's face list starts with its count; the owned copies keep that layout.
constexpr int kTrianglesPerOwnedSpan = 65535 / 3;

}  // namespace

WorldFaces::WorldFaces(double scale, const Vec3& translation)
    : scale_(scale), translation_(translation) {}

void WorldFaces::AddMeshes(const Mesh* meshHead) {
    for (const Mesh* mesh = meshHead != nullptr ? meshHead->next : nullptr; mesh != nullptr;
         mesh = mesh->next) {
        AddMesh(*mesh);
    }
}

void WorldFaces::AddMesh(const Mesh& mesh) {
    if (mesh.vertices == nullptr || mesh.vertexCount <= 0 || ::FaceCount(mesh) <= 0) {
        return;
    }
    AddSpan({mesh.vertices, mesh.vertexCount, FaceRecord(mesh, 0),
             static_cast<std::uint32_t>(::FaceCount(mesh)), 4});
}

void WorldFaces::AddIndexedFaces(const float* vertices, std::size_t vertexCount,
                                 const std::uint16_t* corners, std::size_t faceCount) {
    // Indices are 16-bit: more vertices than they reach are never named.
    const std::size_t named = std::min<std::size_t>(vertexCount, 65536);
    // More faces than are kept are counted as left out.
    const std::size_t kept = std::min<std::size_t>(faceCount, UINT32_MAX);
    leftOut_ += faceCount - kept;
    AddSpan({reinterpret_cast<const unsigned char*>(vertices), static_cast<std::int32_t>(named),
             corners, static_cast<std::uint32_t>(kept), 3});
}

void WorldFaces::AddTriangles(const std::vector<float>& xyz) {
    const std::size_t triangles = xyz.size() / 9;
    for (std::size_t first = 0; first < triangles; first += kTrianglesPerOwnedSpan) {
        const std::size_t count = std::min<std::size_t>(kTrianglesPerOwnedSpan, triangles - first);
        std::vector<unsigned char> vertices(count * 9 * sizeof(float));
        std::memcpy(vertices.data(), xyz.data() + 9 * first, vertices.size());
        std::vector<std::uint16_t> records(4 * count);
        for (std::size_t face = 0; face < count; ++face) {
            for (int corner = 0; corner < 3; ++corner) {
                records[4 * face + corner] = static_cast<std::uint16_t>(3 * face + corner);
            }
        }
        ownedVertices_.push_back(std::move(vertices));
        ownedRecords_.push_back(std::move(records));
        AddSpan({ownedVertices_.back().data(), static_cast<std::int32_t>(3 * count),
                 ownedRecords_.back().data(), static_cast<std::uint32_t>(count), 4});
    }
}

void WorldFaces::AddSpan(const Span& span) {
    const std::uint32_t room = kMaxFaces - faceCount_;
    Span kept = span;
    if (kept.faceCount > room) {
        leftOut_ += kept.faceCount - room;
        kept.faceCount = room;
    }
    if (kept.faceCount == 0) {
        return;
    }
    spans_.push_back(kept);
    spanStarts_.push_back(faceCount_);
    faceCount_ += kept.faceCount;
}

std::size_t WorldFaces::SpanOf(std::uint32_t id) const {
    return static_cast<std::size_t>(std::upper_bound(spanStarts_.begin(), spanStarts_.end(), id) -
                                    spanStarts_.begin()) -
           1;
}

Box3 WorldFaces::ToWorld(const MeshBox& box) const {
    Box3 world;
    world.Add(Vec3{box.low[0], box.low[1], box.low[2]} * scale_ + translation_);
    world.Add(Vec3{box.high[0], box.high[1], box.high[2]} * scale_ + translation_);
    return world;
}

bool WorldFaces::Walkable(const Vec3 corners[3]) {
    for (int corner = 0; corner < 3; ++corner) {
        const Vec3& c = corners[corner];
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) {
            return false;
        }
    }
    const Vec3 ab = corners[1] - corners[0];
    const Vec3 ac = corners[2] - corners[0];
    const Vec3 normal = Cross(ab, ac);
    return Dot(normal, normal) > kMinimumSine * kMinimumSine * Dot(ab, ab) * Dot(ac, ac);
}
