// The solids of the sample scene must be closed and wound so that every face's normal points
// out of the solid: the walk-through lights only the side a normal faces.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "tools/make-sample/MeshBuilder.h"
#include "tools/make-sample/Shapes.h"

namespace {

using ShapeCase = std::pair<const char*, void (*)(MeshBuilder&)>;  // a name, how to build it

// One solid a line; open bottoms lie on z = 0.
// clang-format off
const ShapeCase kShapes[] = {
    {"Box", [](MeshBuilder& m) { AddBox(m, {2, 3, 0}, {6, 8, 10}); }},
    {"ClosedBox", [](MeshBuilder& m) { AddBox(m, {-2, 3, 1}, {1, 5, 4}, Caps::kTopAndBottom); }},
    {"Frustum", [](MeshBuilder& m) { AddFrustum(m, {5, -4}, 0, 12, 3, 1, Caps::kTop); }},
    {"Pyramid", [](MeshBuilder& m) { AddPyramid(m, {7, 9}, 0, 4, 6); }},
    {"HouseAlongX", [](MeshBuilder& m) { AddGabledHouse(m, m, {10, 4}, 6, 3, 5, 8, false); }},
    {"HouseAlongY", [](MeshBuilder& m) { AddGabledHouse(m, m, {-3, 12}, 5, 4, 6, 9, true); }},
    {"Cylinder", [](MeshBuilder& m) { AddCylinder(m, {4, 4}, 2, 7, 1.5f, 9, Caps::kTopAndBottom); }},
    {"Cone", [](MeshBuilder& m) { AddCone(m, {-6, 2}, 1, 9, 2, 7, true); }},
    {"Sphere", [](MeshBuilder& m) { AddSphere(m, {3, -2, 5}, 2, 6, 4); }},
    {"Hill", [](MeshBuilder& m) { AddHill(m, {20, 30}, 10, 6, 4, 20, 8); }},
};
// clang-format on

class ShapeWinding : public ::testing::TestWithParam<ShapeCase> {};

// Closed and consistently wound: each edge a face runs from corner a to b, another face runs
// back from b to a, but on the rim of an open bottom. Every case is convex, so a face points
// out when its normal, (P2 - P1) x (P3 - P2), points away from the mean of the vertices.
TEST_P(ShapeWinding, EveryFacePointsOutOfAClosedSolid) {
    MeshBuilder mesh;
    GetParam().second(mesh);
    ASSERT_EQ(mesh.parts().size(), 1u);
    const std::vector<float>& xyz = mesh.parts()[0].xyz;
    const std::vector<std::uint16_t>& corners = mesh.parts()[0].corners;
    double centre[3] = {0, 0, 0};
    for (std::size_t i = 0; i < xyz.size(); ++i) {
        centre[i % 3] += xyz[i] / static_cast<double>(xyz.size() / 3);
    }
    std::map<std::pair<int, int>, int> edges;
    for (std::size_t face = 0; face < corners.size(); face += 3) {
        const auto at = [&](int k, int axis) { return double(xyz[3 * corners[face + k] + axis]); };
        double outward = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const int a = (axis + 1) % 3, b = (axis + 2) % 3;
            const double normal = (at(1, a) - at(0, a)) * (at(2, b) - at(1, b)) -
                                  (at(1, b) - at(0, b)) * (at(2, a) - at(1, a));
            outward += normal * ((at(0, axis) + at(1, axis) + at(2, axis)) / 3 - centre[axis]);
            ++edges[{corners[face + axis], corners[face + (axis + 1) % 3]}];
        }
        EXPECT_GT(outward, 0.0) << "face " << face / 3;
    }
    for (const auto& [edge, count] : edges) {
        const bool rim = xyz[3 * edge.first + 2] == 0 && xyz[3 * edge.second + 2] == 0;
        const auto back = edges.find({edge.second, edge.first});
        EXPECT_TRUE(count == 1 && (back != edges.end() ? back->second == 1 : rim))
            << "edge " << edge.first << "-" << edge.second;
    }
}

INSTANTIATE_TEST_SUITE_P(Solids, ShapeWinding, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
