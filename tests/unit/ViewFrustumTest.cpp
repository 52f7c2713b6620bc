// Leaving out parts: a box is excluded only when none of it can be seen, over many random
// views and boxes, and boxes outside a view are excluded often enough to matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "drawing/ViewFrustum.h"
#include "webgl11/Matrix4.h"

namespace {

// GL's column-major perspective and look-at matrices, as GLU makes them (the web page's own
// GL subset, tested against GLU in its own tests), in double precision.
void ToDoubles(const webgl11::Matrix4& matrix, double m[16]) {
    std::copy(matrix.m.begin(), matrix.m.end(), m);
}

bool Visible(const double p[16], const double mv[16], const double point[3]) {
    double eyeSpace[4], clip[4];
    for (int row = 0; row < 4; ++row) {
        eyeSpace[row] =
            mv[row] * point[0] + mv[4 + row] * point[1] + mv[8 + row] * point[2] + mv[12 + row];
    }
    for (int row = 0; row < 4; ++row) {
        clip[row] = p[row] * eyeSpace[0] + p[4 + row] * eyeSpace[1] + p[8 + row] * eyeSpace[2] +
                    p[12 + row] * eyeSpace[3];
    }
    return std::fabs(clip[0]) < clip[3] && std::fabs(clip[1]) < clip[3] &&
           std::fabs(clip[2]) < clip[3];
}

TEST(ViewFrustum, ExcludesOnlyBoxesWhollyOutsideTheView) {
    std::mt19937 random(7);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    int excluded = 0, boxes = 0;
    for (int view = 0; view < 50; ++view) {
        double projection[16], modelView[16];
        ToDoubles(
            webgl11::Perspective(uniform(30, 90), 4.0 / 3.0, uniform(0.5, 2), uniform(100, 2000)),
            projection);
        const std::array<double, 3> eye = {uniform(-100, 100), uniform(-100, 100),
                                           uniform(-20, 20)};
        const double forward[3] = {uniform(-1, 1), uniform(-1, 1), uniform(-0.5, 0.5)};
        ToDoubles(
            webgl11::LookAt(eye, {eye[0] + forward[0], eye[1] + forward[1], eye[2] + forward[2]},
                            {0, 0, 1}),
            modelView);
        const ViewFrustum frustum(projection, modelView);
        for (int box = 0; box < 200; ++box, ++boxes) {
            float min[3], max[3];
            for (int axis = 0; axis < 3; ++axis) {
                const double centre = uniform(-300, 300), half = uniform(0.1, 50);
                min[axis] = static_cast<float>(centre - half);
                max[axis] = static_cast<float>(centre + half);
            }
            const bool out = frustum.Excludes(min, max);
            excluded += out;
            // Corners, edge middles, face middles and the centre of an excluded box are unseen.
            for (int k = 0; out && k < 27; ++k) {
                double point[3];
                for (int axis = 0, digit = k; axis < 3; ++axis, digit /= 3) {
                    point[axis] = min[axis] + (max[axis] - min[axis]) * (digit % 3) / 2.0;
                }
                ASSERT_FALSE(Visible(projection, modelView, point)) << "view " << view;
            }
        }
    }
    EXPECT_GT(excluded, boxes / 2);
    EXPECT_LT(excluded, boxes);
}

}  // namespace
