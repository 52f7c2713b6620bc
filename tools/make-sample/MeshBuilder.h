// Collects the triangles of one named object of the sample model.
//
// Faces are given counter-clockwise as seen from the side they show, so the normal the program
// derives from them, (P2 - P1) x (P3 - P2), points toward the viewer. A mesh of the model file
// counts its vertices and faces in 16 bits, so the triangles are kept in parts that each fit;
// every part becomes one object of the file. Vertices are shared within a part.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct Vec3 {
    float x, y, z;
};

class MeshBuilder {
public:
    static constexpr std::size_t kMaxVertices = 65535;
    static constexpr std::size_t kMaxFaces = 65535;

    struct Part {
        std::vector<float> xyz;              // three floats per vertex
        std::vector<std::uint16_t> corners;  // three vertex indices per face
    };

    void Triangle(const Vec3& a, const Vec3& b, const Vec3& c);
    // a, b, c, d counter-clockwise and in one plane: the triangles a b c and a c d.
    void Quad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d);

    const std::vector<Part>& parts() const { return parts_; }
    std::size_t FaceCount() const;

private:
    using Key = std::array<std::uint32_t, 3>;
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return (static_cast<std::size_t>(key[0]) * 73856093u) ^
                   (static_cast<std::size_t>(key[1]) * 19349663u) ^
                   (static_cast<std::size_t>(key[2]) * 83492791u);
        }
    };

    // The last part, or a new one when the last cannot take this many more.
    Part& PartWithRoom(std::size_t vertices, std::size_t faces);
    std::uint16_t IndexOf(Part& part, const Vec3& vertex);

    std::vector<Part> parts_;
    std::unordered_map<Key, std::uint16_t, KeyHash> indexInLastPart_;
};
