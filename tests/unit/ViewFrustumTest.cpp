// Leaving out parts: a box is excluded only when none of it can be seen, over many random
// views and boxes, and boxes outside a view are excluded often enough to matter.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "drawing/ViewFrustum.h"

namespace {

// GL's column-major perspective and look-at matrices, as gluPerspective and gluLookAt make.
void Perspective(double fovy, double aspect, double near, double far, double m[16]) {
    const double f = 1.0 / std::tan(fovy * 3.14159265358979323846 / 360.0);
    std::fill(m, m + 16, 0.0);
    m[0] = f / aspect, m[5] = f;
    m[10] = (far + near) / (near - far), m[11] = -1.0;
    m[14] = 2.0 * far * near / (near - far);
}

void LookAt(const double eye[3], const double forward[3], double m[16]) {
    const auto unit = [](double v[3]) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i) {
            v[i] /= length;
        }
    };
    double f[3] = {forward[0], forward[1], forward[2]};
    unit(f);
    double s[3] = {f[1], -f[0], 0.0};  // f x up, up = +z
    unit(s);
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                         s[0] * f[1] - s[1] * f[0]};
    std::fill(m, m + 16, 0.0);
    for (int i = 0; i < 3; ++i) {
        m[4 * i] = s[i], m[4 * i + 1] = u[i], m[4 * i + 2] = -f[i];
    }
    for (int row = 0; row < 3; ++row) {
        m[12 + row] = -(m[row] * eye[0] + m[4 + row] * eye[1] + m[8 + row] * eye[2]);
    }
    m[15] = 1.0;
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
        Perspective(uniform(30, 90), 4.0 / 3.0, uniform(0.5, 2), uniform(100, 2000), projection);
        const double eye[3] = {uniform(-100, 100), uniform(-100, 100), uniform(-20, 20)};
        const double forward[3] = {uniform(-1, 1), uniform(-1, 1), uniform(-0.5, 0.5)};
        LookAt(eye, forward, modelView);
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
