// Shapes for the walking tests: boxes and single quads as vertices and faces, in metres.
#pragma once

#include <cstdint>
#include <vector>

#include "walk/Vector.h"

struct Solid {
    std::vector<float> xyz;
    std::vector<std::uint16_t> abc;

    void Corner(const Vec3& p) {
        xyz.insert(xyz.end(),
                   {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }
    // One face of zero thickness through the four corners, in order around it.
    void Quad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
        const auto first = static_cast<std::uint16_t>(xyz.size() / 3);
        for (const Vec3& p : {a, b, c, d}) {
            Corner(p);
        }
        for (int i : {0, 1, 2, 0, 2, 3}) {
            abc.push_back(static_cast<std::uint16_t>(first + i));
        }
    }
    // A closed box: its six sides.
    void Box(const Vec3& lo, const Vec3& hi) {
        const auto at = [&](int i) {
            return Vec3{i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z};
        };
        const int sides[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (const auto& side : sides) {
            Quad(at(side[0]), at(side[1]), at(side[2]), at(side[3]));
        }
    }
    // Nine coordinates per face, for WorldFaces::AddTriangles.
    std::vector<float> Triangles() const {
        std::vector<float> out;
        for (std::uint16_t index : abc) {
            out.insert(out.end(), xyz.begin() + 3 * index, xyz.begin() + 3 * index + 3);
        }
        return out;
    }
};
