// Collects the triangles of one mesh of the textured sample: each face with its material and
// smoothing groups, each corner with its mapping coordinates. Corners share a vertex only when
// both the position and the coordinates match, so a texture seam splits a vertex. Like
// MeshBuilder, it keeps the triangles in parts that fit the file's 16-bit counts.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/make-sample/MeshBuilder.h"

struct MappedCorner {
    Vec3 at;
    float u, v;
};

class MappedMeshBuilder {
public:
    struct Part {
        std::vector<float> xyz;                    // three floats per vertex
        std::vector<float> uv;                     // two floats per vertex
        std::vector<std::uint16_t> corners;        // three vertex indices per face
        std::vector<std::uint16_t> faceMaterials;  // per face, an index into materials()
        std::vector<std::uint32_t> smoothing;      // per face, its smoothing-group bits
    };

    void Triangle(const std::array<MappedCorner, 3>& corners, const std::string& material,
                  std::uint32_t smoothing);

    const std::vector<Part>& parts() const { return parts_; }
    const std::vector<std::string>& materials() const { return materials_; }
    std::size_t FaceCount() const;

private:
    using Key = std::array<std::uint32_t, 5>;  // the bits of x, y, z, u, v

    std::uint16_t IndexOf(Part& part, const MappedCorner& corner);
    std::uint16_t MaterialIndex(const std::string& material);

    std::vector<Part> parts_;
    std::map<Key, std::uint16_t> indexInLastPart_;
    std::vector<std::string> materials_;
};
