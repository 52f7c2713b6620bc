// Column-major 4x4 matrices in single precision, multiplied as OpenGL 1.1 multiplies them, and
// the two matrices GLU composes for the walk-through: the perspective and the look-at.
#pragma once

#include <array>

namespace webgl11 {

using Vec3 = std::array<float, 3>;
using Vec4 = std::array<float, 4>;

struct Matrix4 {
    // m[column * 4 + row], as glLoadMatrixf takes it.
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float At(int row, int column) const { return m[static_cast<unsigned>(column * 4 + row)]; }
};

// a * b: b is applied first, as glMultMatrix multiplies the current matrix on the right.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
Matrix4 Translation(double x, double y, double z);
Matrix4 Scaling(double x, double y, double z);
// gluPerspective's matrix: computed in double precision, as GLU does, and handed over in single.
Matrix4 Perspective(double fovyDegrees, double aspect, double zNear, double zFar);
// gluLookAt's matrix: the axes in single precision, as GLU computes them, then the eye moved
// to the origin.
Matrix4 LookAt(const std::array<double, 3>& eye, const std::array<double, 3>& centre,
               const std::array<double, 3>& up);

Vec4 Transform(const Matrix4& matrix, const Vec4& point);
// The matrix that takes normals to eye space: the inverse transpose of the upper 3x3, as
// rows. A singular matrix gives zeros (the normals then light nothing).
std::array<Vec3, 3> NormalMatrix(const Matrix4& modelView);
Vec3 TransformNormal(const std::array<Vec3, 3>& normalMatrix, const Vec3& normal);
Vec3 Normalized(const Vec3& v);

}  // namespace webgl11
