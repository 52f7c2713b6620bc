#include "tools/make-sample/MappedMeshBuilder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

void MappedMeshBuilder::Triangle(const std::array<MappedCorner, 3>& corners,
                                 const std::string& material, std::uint32_t smoothing) {
    if (parts_.empty() || parts_.back().xyz.size() / 3 + 3 > MeshBuilder::kMaxVertices ||
        parts_.back().corners.size() / 3 + 1 > MeshBuilder::kMaxFaces) {
        parts_.emplace_back();
        indexInLastPart_.clear();
    }
    Part& part = parts_.back();
    for (const MappedCorner& corner : corners) {
        part.corners.push_back(IndexOf(part, corner));
    }
    part.faceMaterials.push_back(MaterialIndex(material));
    part.smoothing.push_back(smoothing);
}

std::size_t MappedMeshBuilder::FaceCount() const {
    std::size_t faces = 0;
    for (const Part& part : parts_) {
        faces += part.faceMaterials.size();
    }
    return faces;
}

std::uint16_t MappedMeshBuilder::IndexOf(Part& part, const MappedCorner& corner) {
    // Adding 0 turns -0 into +0, so the two zeros share a vertex.
    const float values[5] = {corner.at.x + 0.0f, corner.at.y + 0.0f, corner.at.z + 0.0f,
                             corner.u + 0.0f, corner.v + 0.0f};
    Key key;
    std::memcpy(key.data(), values, sizeof values);
    const auto [found, added] =
        indexInLastPart_.emplace(key, static_cast<std::uint16_t>(part.xyz.size() / 3));
    if (added) {
        part.xyz.insert(part.xyz.end(), values, values + 3);
        part.uv.insert(part.uv.end(), values + 3, values + 5);
    }
    return found->second;
}

std::uint16_t MappedMeshBuilder::MaterialIndex(const std::string& material) {
    const auto found = std::find(materials_.begin(), materials_.end(), material);
    if (found != materials_.end()) {
        return static_cast<std::uint16_t>(std::distance(materials_.begin(), found));
    }
    materials_.push_back(material);
    return static_cast<std::uint16_t>(materials_.size() - 1);
}
