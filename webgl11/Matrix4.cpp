#include "webgl11/Matrix4.h"

#include <cmath>

namespace webgl11 {

namespace {

constexpr double kPi = 3.14159265358979323846;

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.At(row, k) * b.At(k, column);
            }
            product.m[static_cast<unsigned>(column * 4 + row)] = sum;
        }
    }
    return product;
}

Matrix4 Translation(double x, double y, double z) {
    Matrix4 matrix;
    matrix.m[12] = static_cast<float>(x);
    matrix.m[13] = static_cast<float>(y);
    matrix.m[14] = static_cast<float>(z);
    return matrix;
}

Matrix4 Scaling(double x, double y, double z) {
    Matrix4 matrix;
    matrix.m[0] = static_cast<float>(x);
    matrix.m[5] = static_cast<float>(y);
    matrix.m[10] = static_cast<float>(z);
    return matrix;
}

Matrix4 Perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double radians = fovyDegrees / 2.0 * kPi / 180.0;
    const double depth = zFar - zNear;
    const double sine = std::sin(radians);
    Matrix4 matrix;
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) {
        return matrix;  // GLU leaves the matrix alone
    }
    const double cotangent = std::cos(radians) / sine;
    matrix.m[0] = static_cast<float>(cotangent / aspect);
    matrix.m[5] = static_cast<float>(cotangent);
    matrix.m[10] = static_cast<float>(-(zFar + zNear) / depth);
    matrix.m[11] = -1.0f;
    matrix.m[14] = static_cast<float>(-2.0 * zNear * zFar / depth);
    matrix.m[15] = 0.0f;
    return matrix;
}

Matrix4 LookAt(const std::array<double, 3>& eye, const std::array<double, 3>& centre,
               const std::array<double, 3>& up) {
    const Vec3 forward =
        Normalized({static_cast<float>(centre[0] - eye[0]), static_cast<float>(centre[1] - eye[1]),
                    static_cast<float>(centre[2] - eye[2])});
    const Vec3 upward{static_cast<float>(up[0]), static_cast<float>(up[1]),
                      static_cast<float>(up[2])};
    const Vec3 side = Normalized(Cross(forward, upward));
    const Vec3 trueUp = Cross(side, forward);
    Matrix4 axes;
    for (int i = 0; i < 3; ++i) {
        const unsigned column = static_cast<unsigned>(i * 4);
        axes.m[column + 0] = side[static_cast<unsigned>(i)];
        axes.m[column + 1] = trueUp[static_cast<unsigned>(i)];
        axes.m[column + 2] = -forward[static_cast<unsigned>(i)];
    }
    return Multiply(axes, Translation(-eye[0], -eye[1], -eye[2]));
}

Vec4 Transform(const Matrix4& matrix, const Vec4& point) {
    Vec4 result{};
    for (int row = 0; row < 4; ++row) {
        float sum = 0.0f;
        for (int k = 0; k < 4; ++k) {
            sum += matrix.At(row, k) * point[static_cast<unsigned>(k)];
        }
        result[static_cast<unsigned>(row)] = sum;
    }
    return result;
}

std::array<Vec3, 3> NormalMatrix(const Matrix4& modelView) {
    const auto a = [&modelView](int row, int column) { return modelView.At(row, column); };
    // The cofactors of the upper 3x3 are the inverse transpose times the determinant.
    std::array<Vec3, 3> cofactors{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
            const int c1 = (column + 1) % 3, c2 = (column + 2) % 3;
            cofactors[static_cast<unsigned>(row)][static_cast<unsigned>(column)] =
                a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    }
    const float determinant =
        a(0, 0) * cofactors[0][0] + a(0, 1) * cofactors[0][1] + a(0, 2) * cofactors[0][2];
    std::array<Vec3, 3> result{};
    if (determinant == 0.0f) {
        return result;
    }
    for (unsigned row = 0; row < 3; ++row) {
        for (unsigned column = 0; column < 3; ++column) {
            result[row][column] = cofactors[row][column] / determinant;
        }
    }
    return result;
}

Vec3 TransformNormal(const std::array<Vec3, 3>& normalMatrix, const Vec3& normal) {
    Vec3 result{};
    for (unsigned row = 0; row < 3; ++row) {
        result[row] = normalMatrix[row][0] * normal[0] + normalMatrix[row][1] * normal[1] +
                      normalMatrix[row][2] * normal[2];
    }
    return result;
}

Vec3 Normalized(const Vec3& v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) {
        return v;
    }
    return {v[0] / length, v[1] / length, v[2] / length};
}

}  // namespace webgl11
