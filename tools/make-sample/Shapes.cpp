#include "tools/make-sample/Shapes.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;

Vec3 At(Vec2 p, float z) {
    return {p.x, p.y, z};
}

// The corners of a regular polygon, counter-clockwise seen from above.
std::vector<Vec2> Circle(Vec2 centre, float radiusX, float radiusY, int segments) {
    std::vector<Vec2> ring;
    for (int i = 0; i < segments; ++i) {
        const double angle = kTwoPi * i / segments;
        ring.push_back({static_cast<float>(centre.x + radiusX * std::cos(angle)),
                        static_cast<float>(centre.y + radiusY * std::sin(angle))});
    }
    return ring;
}

std::vector<Vec2> Square(Vec2 centre, float half) {
    return {{centre.x - half, centre.y - half},
            {centre.x + half, centre.y - half},
            {centre.x + half, centre.y + half},
            {centre.x - half, centre.y + half}};
}

// Walls between a footprint at z0 and a footprint of the same corner count at z1.
void AddSides(MeshBuilder& mesh, const std::vector<Vec2>& bottom, float z0,
              const std::vector<Vec2>& top, float z1) {
    const std::size_t n = bottom.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        mesh.Quad(At(bottom[i], z0), At(bottom[j], z0), At(top[j], z1), At(top[i], z1));
    }
}

// A convex polygon facing up (when its corners run counter-clockwise from above) or down.
void AddCap(MeshBuilder& mesh, const std::vector<Vec2>& corners, float z, bool facingUp) {
    const std::size_t n = corners.size();
    for (std::size_t i = 1; i + 1 < n; ++i) {
        if (facingUp) {
            mesh.Triangle(At(corners[0], z), At(corners[i], z), At(corners[i + 1], z));
        } else {
            mesh.Triangle(At(corners[0], z), At(corners[i + 1], z), At(corners[i], z));
        }
    }
}

void AddCaps(MeshBuilder& mesh, const std::vector<Vec2>& bottom, float z0,
             const std::vector<Vec2>& top, float z1, Caps caps) {
    if (caps != Caps::kNone) {
        AddCap(mesh, top, z1, true);
    }
    if (caps == Caps::kTopAndBottom) {
        AddCap(mesh, bottom, z0, false);
    }
}

}  // namespace

void AddWall(MeshBuilder& mesh, Vec2 a, Vec2 b, float z0, float z1) {
    mesh.Quad(At(a, z0), At(b, z0), At(b, z1), At(a, z1));
}

void AddBox(MeshBuilder& mesh, const Vec3& low, const Vec3& high, Caps caps) {
    const std::vector<Vec2> footprint = {
        {low.x, low.y}, {high.x, low.y}, {high.x, high.y}, {low.x, high.y}};
    AddSides(mesh, footprint, low.z, footprint, high.z);
    AddCaps(mesh, footprint, low.z, footprint, high.z, caps);
}

void AddFrustum(MeshBuilder& mesh, Vec2 centre, float z0, float z1, float halfBottom, float halfTop,
                Caps caps) {
    const std::vector<Vec2> bottom = Square(centre, halfBottom);
    const std::vector<Vec2> top = Square(centre, halfTop);
    AddSides(mesh, bottom, z0, top, z1);
    AddCaps(mesh, bottom, z0, top, z1, caps);
}

void AddPyramid(MeshBuilder& mesh, Vec2 centre, float z0, float halfWidth, float height) {
    const std::vector<Vec2> base = Square(centre, halfWidth);
    const Vec3 apex = At(centre, z0 + height);
    for (std::size_t i = 0; i < base.size(); ++i) {
        mesh.Triangle(At(base[i], z0), At(base[(i + 1) % base.size()], z0), apex);
    }
}

void AddGabledHouse(MeshBuilder& walls, MeshBuilder& roof, Vec2 centre, float halfLength,
                    float halfDepth, float eave, float ridge, bool ridgeAlongY) {
    // Built with the ridge along x, then turned a quarter turn about the centre if it runs
    // along y: a rotation keeps every face's winding.
    const auto place = [&](float along, float across, float z) -> Vec3 {
        if (ridgeAlongY) {
            return {centre.x - across, centre.y + along, z};
        }
        return {centre.x + along, centre.y + across, z};
    };
    const float l = halfLength;
    const float d = halfDepth;
    // Long walls up to the eaves; each corner pair runs with the outside to its right.
    walls.Quad(place(-l, -d, 0), place(l, -d, 0), place(l, -d, eave), place(-l, -d, eave));
    walls.Quad(place(l, d, 0), place(-l, d, 0), place(-l, d, eave), place(l, d, eave));
    // Gable ends: a wall up to the eaves and a triangle up to the ridge.
    walls.Quad(place(l, -d, 0), place(l, d, 0), place(l, d, eave), place(l, -d, eave));
    walls.Triangle(place(l, -d, eave), place(l, d, eave), place(l, 0, ridge));
    walls.Quad(place(-l, d, 0), place(-l, -d, 0), place(-l, -d, eave), place(-l, d, eave));
    walls.Triangle(place(-l, d, eave), place(-l, -d, eave), place(-l, 0, ridge));
    // Roof slopes.
    roof.Quad(place(-l, -d, eave), place(l, -d, eave), place(l, 0, ridge), place(-l, 0, ridge));
    roof.Quad(place(l, d, eave), place(-l, d, eave), place(-l, 0, ridge), place(l, 0, ridge));
}

void AddCylinder(MeshBuilder& mesh, Vec2 centre, float z0, float z1, float radius, int segments,
                 Caps caps) {
    const std::vector<Vec2> ring = Circle(centre, radius, radius, segments);
    AddSides(mesh, ring, z0, ring, z1);
    AddCaps(mesh, ring, z0, ring, z1, caps);
}

void AddCone(MeshBuilder& mesh, Vec2 centre, float z0, float apexZ, float radius, int segments,
             bool withBase) {
    const std::vector<Vec2> ring = Circle(centre, radius, radius, segments);
    const Vec3 apex = At(centre, apexZ);
    for (int i = 0; i < segments; ++i) {
        mesh.Triangle(At(ring[i], z0), At(ring[(i + 1) % segments], z0), apex);
    }
    if (withBase) {
        AddCap(mesh, ring, z0, false);
    }
}

void AddSphere(MeshBuilder& mesh, const Vec3& centre, float radius, int segments, int rings) {
    // Latitude k runs from the top pole (0) to the bottom pole (rings).
    const auto point = [&](int k, int i) -> Vec3 {
        const double polar = kTwoPi / 2 * k / rings;
        const double angle = kTwoPi * (i % segments) / segments;
        return {static_cast<float>(centre.x + radius * std::sin(polar) * std::cos(angle)),
                static_cast<float>(centre.y + radius * std::sin(polar) * std::sin(angle)),
                static_cast<float>(centre.z + radius * std::cos(polar))};
    };
    const Vec3 top = {centre.x, centre.y, centre.z + radius};
    const Vec3 bottom = {centre.x, centre.y, centre.z - radius};
    for (int i = 0; i < segments; ++i) {
        mesh.Triangle(point(1, i), point(1, i + 1), top);
        for (int k = 1; k + 1 < rings; ++k) {
            mesh.Quad(point(k + 1, i), point(k + 1, i + 1), point(k, i + 1), point(k, i));
        }
        mesh.Triangle(bottom, point(rings - 1, i + 1), point(rings - 1, i));
    }
}

void AddHill(MeshBuilder& mesh, Vec2 centre, float radiusX, float radiusY, float height,
             int segments, int rings) {
    // Ring k lies at the fraction k / rings of the radii, at the height of the paraboloid.
    std::vector<std::vector<Vec2>> outline;
    std::vector<float> heights;
    for (int k = 0; k <= rings; ++k) {
        const float fraction = static_cast<float>(k) / rings;
        outline.push_back(Circle(centre, radiusX * fraction, radiusY * fraction, segments));
        heights.push_back(height * (1.0f - fraction * fraction));
    }
    const Vec3 top = At(centre, height);
    for (int i = 0; i < segments; ++i) {
        const int j = (i + 1) % segments;
        mesh.Triangle(At(outline[1][i], heights[1]), At(outline[1][j], heights[1]), top);
        for (int k = 1; k < rings; ++k) {
            mesh.Quad(At(outline[k + 1][i], heights[k + 1]), At(outline[k + 1][j], heights[k + 1]),
                      At(outline[k][j], heights[k]), At(outline[k][i], heights[k]));
        }
    }
}
