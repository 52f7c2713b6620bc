#include "drawing/ViewFrustum.h"

#include <cmath>

namespace {

// Relative to the size of a plane's terms: far above float rounding, far below a pixel.
constexpr double kMargin = 1e-5;

}  // namespace

ViewFrustum::ViewFrustum(const double projection[16], const double modelView[16]) {
    // clip[row][column] of projection x model-view.
    double clip[4][4];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += projection[4 * k + row] * modelView[4 * column + k];
            }
            clip[row][column] = sum;
        }
    }
    // Inside: -w <= x, y, z <= w, that is w + x >= 0, w - x >= 0, and so on.
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            const double sign = side == 0 ? 1.0 : -1.0;
            for (int column = 0; column < 4; ++column) {
                planes_[2 * axis + side][column] = clip[3][column] + sign * clip[axis][column];
            }
        }
    }
}

bool ViewFrustum::Excludes(const float min[3], const float max[3]) const {
    for (const double* plane : planes_) {
        // The corner deepest inside this plane: if even it lies outside, the whole box does.
        double value = plane[3];
        double size = std::fabs(plane[3]);
        for (int axis = 0; axis < 3; ++axis) {
            const double corner = plane[axis] >= 0.0 ? max[axis] : min[axis];
            value += plane[axis] * corner;
            size += std::fabs(plane[axis] * corner);
        }
        if (value < -kMargin * size) {
            return true;
        }
    }
    return false;
}
