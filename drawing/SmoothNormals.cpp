#include "drawing/SmoothNormals.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace {

using Vec3 = std::array<double, 3>;

// A vertex position by its bits, -0 taken as 0.
struct PositionKey {
    std::uint32_t bits[3];
    bool operator==(const PositionKey& other) const {
        return std::memcmp(bits, other.bits, sizeof bits) == 0;
    }
};
struct PositionHash {
    std::size_t operator()(const PositionKey& key) const {
        std::uint64_t hash = 1469598103934665603ull;
        for (std::uint32_t word : key.bits) {
            hash = (hash ^ word) * 1099511628211ull;
        }
        return static_cast<std::size_t>(hash);
    }
};

// The vertices and face normals a mesh is drawn with.
struct DrawnMesh {
    const Mesh& mesh;
    const float* vertices;  // x, y, z per vertex, aligned; null: the mesh's own
    const float* normals;   // x, y, z per face

    void Vertex(int index, float xyz[3]) const {
        if (vertices == nullptr) {
            ReadVertex(mesh, index, xyz);
        } else {
            std::memcpy(xyz, vertices + 3 * static_cast<std::size_t>(index), 3 * sizeof(float));
        }
    }
};

// Per vertex, the first vertex with the same coordinates.
std::vector<int> SamePlaceVertices(const DrawnMesh& drawn) {
    const Mesh& mesh = drawn.mesh;
    std::vector<int> place(static_cast<std::size_t>(mesh.vertexCount));
    std::unordered_map<PositionKey, int, PositionHash> firstAt;
    firstAt.reserve(place.size());
    for (int v = 0; v < mesh.vertexCount; ++v) {
        float xyz[3];
        drawn.Vertex(v, xyz);
        PositionKey key;
        for (int i = 0; i < 3; ++i) {
            const float value = xyz[i] + 0.0f;
            std::memcpy(&key.bits[i], &value, sizeof value);
        }
        place[static_cast<std::size_t>(v)] = firstAt.emplace(key, v).first->second;
    }
    return place;
}

// The angle of a triangle at corner a, between its edges to b and c.
double CornerAngle(const float a[3], const float b[3], const float c[3]) {
    const Vec3 u{double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const Vec3 w{double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    const Vec3 cross{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                     u[0] * w[1] - u[1] * w[0]};
    const double sine = std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
    return std::atan2(sine, u[0] * w[0] + u[1] * w[1] + u[2] * w[2]);
}

// One face corner at a place: its face's mask and angle-weighted normal, and where its
// averaged normal goes.
struct Corner {
    std::uint32_t mask;
    Vec3 weighted;
    float* out;
};

void Add(Vec3& sum, const Vec3& value) {
    for (int i = 0; i < 3; ++i) {
        sum[i] += value[i];
    }
}

// Writes the unit `sum` to corner.out, which keeps the face normal when the sum has no length.
void Store(const Vec3& sum, const Corner& corner) {
    const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
    if (!(length > 1e-12)) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        corner.out[i] = static_cast<float>(sum[i] / length);
    }
}

// Averages the corners that meet at one place. Exact over the distinct masks there; a place
// where more than kMaxMasks distinct masks meet (no real model has them) is averaged per bit
// instead, so that a hostile file cannot make loading quadratic.
void AverageAtPlace(const std::vector<Corner>& corners) {
    constexpr std::size_t kMaxMasks = 64;
    std::vector<std::pair<std::uint32_t, Vec3>> byMask;
    bool tooMany = false;
    for (const Corner& corner : corners) {
        std::size_t i = 0;
        while (i < byMask.size() && byMask[i].first != corner.mask) {
            ++i;
        }
        if (i == byMask.size()) {
            if (byMask.size() == kMaxMasks) {
                tooMany = true;
                break;
            }
            byMask.push_back({corner.mask, Vec3{}});
        }
        Add(byMask[i].second, corner.weighted);
    }
    if (!tooMany) {
        for (const Corner& corner : corners) {
            Vec3 sum{};
            for (const auto& [mask, part] : byMask) {
                if ((mask & corner.mask) != 0) {
                    Add(sum, part);
                }
            }
            Store(sum, corner);
        }
        return;
    }
    std::array<Vec3, 32> byBit{};
    for (const Corner& corner : corners) {
        for (int bit = 0; bit < 32; ++bit) {
            if ((corner.mask >> bit) & 1u) {
                Add(byBit[static_cast<std::size_t>(bit)], corner.weighted);
            }
        }
    }
    for (const Corner& corner : corners) {
        Vec3 sum{};
        for (int bit = 0; bit < 32; ++bit) {
            if ((corner.mask >> bit) & 1u) {
                Add(sum, byBit[static_cast<std::size_t>(bit)]);
            }
        }
        Store(sum, corner);
    }
}

}  // namespace

namespace {

std::vector<float> SmoothDrawnCorners(const DrawnMesh& drawn) {
    const Mesh& mesh = drawn.mesh;
    const int faceCount = FaceCount(mesh);
    std::vector<float> normals(9 * static_cast<std::size_t>(faceCount));
    for (int face = 0; face < faceCount; ++face) {
        for (int corner = 0; corner < 3; ++corner) {
            std::memcpy(&normals[9 * static_cast<std::size_t>(face) + 3 * corner],
                        drawn.normals + 3 * static_cast<std::size_t>(face), 3 * sizeof(float));
        }
    }

    // The smoothed corners, gathered by place.
    const std::vector<int> place = SamePlaceVertices(drawn);
    std::unordered_map<int, std::vector<Corner>> cornersAt;
    for (int face = 0; face < faceCount; ++face) {
        const std::uint32_t mask = mesh.smoothingGroups[static_cast<std::size_t>(face)];
        if (mask == 0 || !IsDrawable(mesh, face)) {
            continue;
        }
        const std::uint16_t* record = FaceRecord(mesh, face);
        float xyz[3][3];
        for (int corner = 0; corner < 3; ++corner) {
            drawn.Vertex(record[corner], xyz[corner]);
        }
        const float* faceNormal = drawn.normals + 3 * static_cast<std::size_t>(face);
        for (int corner = 0; corner < 3; ++corner) {
            const double angle =
                CornerAngle(xyz[corner], xyz[(corner + 1) % 3], xyz[(corner + 2) % 3]);
            Corner entry{mask,
                         {faceNormal[0] * angle, faceNormal[1] * angle, faceNormal[2] * angle},
                         &normals[9 * static_cast<std::size_t>(face) + 3 * corner]};
            cornersAt[place[record[corner]]].push_back(entry);
        }
    }
    for (const auto& [where, corners] : cornersAt) {
        AverageAtPlace(corners);
    }
    return normals;
}

}  // namespace

std::vector<float> SmoothCornerNormals(const Mesh& mesh) {
    if (FaceCount(mesh) == 0 || mesh.normals == nullptr ||
        mesh.smoothingGroups.size() != static_cast<std::size_t>(FaceCount(mesh))) {
        return {};
    }
    return SmoothDrawnCorners({mesh, nullptr, mesh.normals});
}

std::vector<float> SmoothCornerNormals(const Mesh& mesh, const float* vertices,
                                       const float* faceNormals) {
    if (FaceCount(mesh) == 0 ||
        mesh.smoothingGroups.size() != static_cast<std::size_t>(FaceCount(mesh))) {
        return {};
    }
    return SmoothDrawnCorners({mesh, vertices, faceNormals});
}
