#include "tools/make-sample/MeshBuilder.h"

#include <cstring>

void MeshBuilder::Triangle(const Vec3& a, const Vec3& b, const Vec3& c) {
    Part& part = PartWithRoom(3, 1);
    const std::uint16_t ia = IndexOf(part, a);
    const std::uint16_t ib = IndexOf(part, b);
    const std::uint16_t ic = IndexOf(part, c);
    part.corners.insert(part.corners.end(), {ia, ib, ic});
}

void MeshBuilder::Quad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
    Part& part = PartWithRoom(4, 2);
    const std::uint16_t ia = IndexOf(part, a);
    const std::uint16_t ib = IndexOf(part, b);
    const std::uint16_t ic = IndexOf(part, c);
    const std::uint16_t id = IndexOf(part, d);
    part.corners.insert(part.corners.end(), {ia, ib, ic, ia, ic, id});
}

std::size_t MeshBuilder::FaceCount() const {
    std::size_t faces = 0;
    for (const Part& part : parts_) {
        faces += part.corners.size() / 3;
    }
    return faces;
}

MeshBuilder::Part& MeshBuilder::PartWithRoom(std::size_t vertices, std::size_t faces) {
    // Counts the worst case (no vertex shared) so a polygon never straddles two parts.
    if (parts_.empty() || parts_.back().xyz.size() / 3 + vertices > kMaxVertices ||
        parts_.back().corners.size() / 3 + faces > kMaxFaces) {
        parts_.emplace_back();
        indexInLastPart_.clear();
    }
    return parts_.back();
}

std::uint16_t MeshBuilder::IndexOf(Part& part, const Vec3& vertex) {
    // Adding 0 turns -0 into +0, so the two zeros share a vertex.
    const float xyz[3] = {vertex.x + 0.0f, vertex.y + 0.0f, vertex.z + 0.0f};
    Key key;
    std::memcpy(key.data(), xyz, sizeof xyz);
    const auto found = indexInLastPart_.find(key);
    if (found != indexInLastPart_.end()) {
        return found->second;
    }
    const auto index = static_cast<std::uint16_t>(part.xyz.size() / 3);
    part.xyz.insert(part.xyz.end(), xyz, xyz + 3);
    indexInLastPart_.emplace(key, index);
    return index;
}
