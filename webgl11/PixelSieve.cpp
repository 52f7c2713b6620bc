#include "webgl11/PixelSieve.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace webgl11 {

namespace {

// In pixels: how far from a pixel centre a triangle's box may end and the triangle still be left
// out. Renderers snap corners to the nearest sixteenth of a pixel or finer, which moves them by
// at most a thirty-second; the corners here must also be placed within kSlip.
constexpr float kMargin = 1.0f / 16.0f;
constexpr float kSlip = 1.0f / 64.0f;
// A bound on the relative rounding of a float transform, as the GPU's two matrix products and
// this one make it, with room to spare.
constexpr float kRounding = 16.0f * 6.0e-8f;

// Whether a pixel centre (a whole number and a half) lies in [low, high].
bool HoldsACentre(float low, float high) {
    return std::floor(high - 0.5f) >= std::ceil(low - 0.5f);
}

}  // namespace

const std::vector<std::uint16_t>& PixelSieve::Keep(const float* points, int stride,
                                                   const std::uint16_t* indices, std::size_t count,
                                                   const Matrix4& projection,
                                                   const Matrix4& modelView,
                                                   const Viewport& viewport) {
    kept_.clear();
    if (count == 0) {
        return kept_;
    }
    const Matrix4 clipOf = Multiply(projection, modelView);
    // The sizes of the terms the GPU sums, projection after model-view: |P| |MV|.
    Matrix4 termSizes;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += std::fabs(projection.At(row, k)) * std::fabs(modelView.At(k, column));
            }
            termSizes.m[static_cast<unsigned>(column * 4 + row)] = sum;
        }
    }
    const std::size_t reached = std::size_t{*std::max_element(indices, indices + count)} + 1;
    // The largest coordinates here bound the terms of every vertex.
    Vec4 largest{0.0f, 0.0f, 0.0f, 1.0f};
    for (std::size_t v = 0; v < reached; ++v) {
        const float* p = points + v * static_cast<std::size_t>(stride);
        for (unsigned axis = 0; axis < 3; ++axis) {
            largest[axis] = std::max(largest[axis], std::fabs(p[axis]));
        }
    }
    const Vec4 size = Transform(termSizes, largest);
    window_.resize(2 * reached);
    const float doubt = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t v = 0; v < reached; ++v) {
        const float* p = points + v * static_cast<std::size_t>(stride);
        const Vec4 clip = Transform(clipOf, {p[0], p[1], p[2], 1.0f});
        const float w = clip[3];
        const float x = clip[0] / w;
        const float y = clip[1] / w;
        // How far rounding may move the corner in the window, in pixels.
        const float slipX = kRounding * (size[0] + std::fabs(x) * size[3]) / w * viewport.width;
        const float slipY = kRounding * (size[1] + std::fabs(y) * size[3]) / w * viewport.height;
        const bool placed = w > 0.0f && slipX < kSlip && slipY < kSlip;
        window_[2 * v] = placed ? viewport.x + (x * 0.5f + 0.5f) * viewport.width : doubt;
        window_[2 * v + 1] = placed ? viewport.y + (y * 0.5f + 0.5f) * viewport.height : doubt;
    }
    for (std::size_t t = 0; t + 2 < count; t += 3) {
        const float* a = &window_[2 * std::size_t{indices[t]}];
        const float* b = &window_[2 * std::size_t{indices[t + 1]}];
        const float* c = &window_[2 * std::size_t{indices[t + 2]}];
        const bool inDoubt = std::isnan(a[0]) || std::isnan(b[0]) || std::isnan(c[0]);
        if (inDoubt || (HoldsACentre(std::min({a[0], b[0], c[0]}) - kMargin,
                                     std::max({a[0], b[0], c[0]}) + kMargin) &&
                        HoldsACentre(std::min({a[1], b[1], c[1]}) - kMargin,
                                     std::max({a[1], b[1], c[1]}) + kMargin))) {
            kept_.insert(kept_.end(), indices + t, indices + t + 3);
        }
    }
    return kept_;
}

}  // namespace webgl11
