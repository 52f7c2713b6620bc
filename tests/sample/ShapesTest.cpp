// The solids of the sample scene must be wound so that every face's normal points out of the
// solid: the walk-through lights only the side a normal faces. And the mesh builder must keep
// every part inside the file format's 16-bit counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "tools/make-sample/Ground.h"
#include "tools/make-sample/MeshBuilder.h"
#include "tools/make-sample/Shapes.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct Vec {
    double x, y, z;
};
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A regular polygon of n corners on a circle of radius r, and a frustum between two similar
// polygons of the given areas, `height` apart.
double PolygonArea(int n, double r) {
    return n / 2.0 * r * r * std::sin(2 * kPi / n);
}
double FrustumVolume(double area0, double area1, double height) {
    return height / 3 * (area0 + area1 + std::sqrt(area0 * area1));
}

// The hill stacks frustums between its rings: ring k lies at the fraction k / rings of the
// radii and at the height h (1 - fraction^2).
double HillVolume(double radiusX, double radiusY, double height, int segments, int rings) {
    const double unit = PolygonArea(segments, 1) * radiusX * radiusY;
    double volume = 0;
    for (int k = 0; k < rings; ++k) {
        const double inner = static_cast<double>(k) / rings, outer = (k + 1.0) / rings;
        volume += FrustumVolume(unit * inner * inner, unit * outer * outer,
                                height * (outer * outer - inner * inner));
    }
    return volume;
}

// A sphere of four bands: two polar caps and two bands to the equator.
double FourBandSphereVolume(double radius, int segments) {
    const double ring = PolygonArea(segments, radius * std::sin(kPi / 4));
    return 2 * (FrustumVolume(0, ring, radius * (1 - std::cos(kPi / 4))) +
                FrustumVolume(ring, PolygonArea(segments, radius), radius * std::cos(kPi / 4)));
}

struct ShapeCase {
    const char* name;
    void (*build)(MeshBuilder&);
    double volume;  // what the solid encloses; open bottoms lie on z = 0
};

void PrintTo(const ShapeCase& shape, std::ostream* out) {
    *out << shape.name;
}

// One solid a line.
// clang-format off
const ShapeCase kShapes[] = {
    {"Box", [](MeshBuilder& m) { AddBox(m, {2, 3, 0}, {6, 8, 10}); }, 4 * 5 * 10},
    {"ClosedBox", [](MeshBuilder& m) { AddBox(m, {-2, 3, 1}, {1, 5, 4}, Caps::kTopAndBottom); },
     3 * 2 * 3},
    {"Frustum", [](MeshBuilder& m) { AddFrustum(m, {5, -4}, 0, 12, 3, 1, Caps::kTop); },
     12.0 / 3 * (36 + 4 + 12)},
    {"Pyramid", [](MeshBuilder& m) { AddPyramid(m, {7, 9}, 0, 4, 6); }, 64.0 * 6 / 3},
    {"HouseAlongX", [](MeshBuilder& m) { AddGabledHouse(m, m, {10, 4}, 6, 3, 5, 8, false); },
     12 * 6 * 5 + 6 * 3 / 2.0 * 12},
    {"HouseAlongY", [](MeshBuilder& m) { AddGabledHouse(m, m, {-3, 12}, 5, 4, 6, 9, true); },
     10 * 8 * 6 + 8 * 3 / 2.0 * 10},
    {"Cylinder", [](MeshBuilder& m) { AddCylinder(m, {4, 4}, 2, 7, 1.5f, 9, Caps::kTopAndBottom); },
     PolygonArea(9, 1.5) * 5},
    {"Cone", [](MeshBuilder& m) { AddCone(m, {-6, 2}, 1, 9, 2, 7, true); },
     PolygonArea(7, 2) * 8 / 3},
    {"Sphere", [](MeshBuilder& m) { AddSphere(m, {3, -2, 5}, 2, 6, 4); },
     FourBandSphereVolume(2, 6)},
    {"Hill", [](MeshBuilder& m) { AddHill(m, {20, 30}, 10, 6, 4, 20, 8); },
     HillVolume(10, 6, 4, 20, 8)},
};
// clang-format on

class ShapeWinding : public ::testing::TestWithParam<ShapeCase> {};

// Every case is convex, so a face points out when its normal points away from the mean of the
// solid's vertices. The signed volume (the sum of p1 . (p2 x p3) / 6 over the faces) equals
// the enclosed volume only when every face is wound outward and none is missing; an open
// bottom on z = 0 adds nothing to it, as the origin lies in that plane.
TEST_P(ShapeWinding, EveryFacePointsOutOfTheSolid) {
    MeshBuilder mesh;
    GetParam().build(mesh);
    ASSERT_EQ(mesh.parts().size(), 1u);
    const MeshBuilder::Part& part = mesh.parts()[0];
    const auto vertex = [&](std::size_t corner) {
        const float* p = &part.xyz[3 * part.corners[corner]];
        return Vec{p[0], p[1], p[2]};
    };
    Vec centre = {0, 0, 0};
    const double vertices = static_cast<double>(part.xyz.size() / 3);
    for (std::size_t i = 0; i < part.xyz.size(); i += 3) {
        centre = {centre.x + part.xyz[i] / vertices, centre.y + part.xyz[i + 1] / vertices,
                  centre.z + part.xyz[i + 2] / vertices};
    }
    double volume = 0;
    for (std::size_t corner = 0; corner < part.corners.size(); corner += 3) {
        const Vec a = vertex(corner), b = vertex(corner + 1), c = vertex(corner + 2);
        const Vec normal = Cross(b - a, c - b);
        const Vec middle = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        EXPECT_GT(Dot(normal, middle - centre), 0.0) << "face " << corner / 3;
        volume += Dot(a, Cross(b, c)) / 6;
    }
    EXPECT_NEAR(volume, GetParam().volume, GetParam().volume * 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Solids, ShapeWinding, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// 30000 unshared triangles need two parts; a grid of quads shares its corners.
TEST(MeshBuilder, SplitsIntoPartsThatFitSixteenBitCountsAndSharesCorners) {
    MeshBuilder triangles;
    for (int i = 0; i < 30000; ++i) {
        const float x = static_cast<float>(i);
        triangles.Triangle({x, 0, 0}, {x, 1, 0}, {x, 0, 1});
    }
    ASSERT_GE(triangles.parts().size(), 2u);
    EXPECT_EQ(triangles.FaceCount(), 30000u);
    for (const MeshBuilder::Part& part : triangles.parts()) {
        const std::size_t vertices = part.xyz.size() / 3;
        EXPECT_LE(vertices, MeshBuilder::kMaxVertices);
        EXPECT_LE(part.corners.size() / 3, MeshBuilder::kMaxFaces);
        for (std::uint16_t index : part.corners) {
            ASSERT_LT(index, vertices);
        }
    }

    MeshBuilder grid;
    for (float y = 0; y < 10; ++y) {
        for (float x = 0; x < 10; ++x) {
            grid.Quad({x, y, 0}, {x + 1, y, 0}, {x + 1, y + 1, 0}, {x, y + 1, 0});
        }
    }
    ASSERT_EQ(grid.parts().size(), 1u);
    EXPECT_EQ(grid.parts()[0].xyz.size() / 3, 11u * 11u);
    EXPECT_EQ(grid.FaceCount(), 200u);
}

TEST(GridLines, KeepsEveryEdgeAndSpansTheLimits) {
    const std::set<float> edges = {-3.5f, 0.25f, 10, 10.5f, 37};
    const std::vector<float> lines =
        GridLines({edges.begin(), edges.end()}, -20, 20, 5, 1.5f, -300, 400);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), -300);
    EXPECT_EQ(lines.back(), 400);
    for (float edge : edges) {
        EXPECT_EQ(std::count(lines.begin(), lines.end(), edge), 1) << edge;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const float gap = lines[i] - lines[i - 1];
        EXPECT_GT(gap, 0.0f);
        // Only two edges may lie closer than a unit: no other cell is a sliver.
        if (edges.count(lines[i]) + edges.count(lines[i - 1]) < 2) {
            EXPECT_GE(gap, 1.0f) << lines[i - 1] << " " << lines[i];
        }
        if (lines[i] <= 20 && lines[i - 1] >= -20) {
            EXPECT_LE(gap, 5.0f + 1.0f);
        }
    }
}

}  // namespace
