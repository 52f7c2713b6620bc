// Leaving out the triangles of an indexed draw that cover no pixel centre, before WebGL gets them.
// They leave nothing in the picture, yet a software renderer pays for each triangle, and a model
// of a million faces seen whole has most of its triangles smaller than a pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "webgl11/Matrix4.h"

namespace webgl11 {

struct Viewport {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

class PixelSieve {
public:
    // The indices of the triangles among indices[0, count) that may cover a pixel centre, in
    // their order. `points` holds x, y, z for each vertex, `stride` floats apart, as far as the
    // indices reach. A triangle is left out only when the box around its corners in the window,
    // widened by more than a renderer's rounding and snapping could move them, holds no pixel
    // centre. One with a corner behind the eye, or placed too roughly (near the eye's plane, far
    // outside the view), is kept.
    const std::vector<std::uint16_t>& Keep(const float* points, int stride,
                                           const std::uint16_t* indices, std::size_t count,
                                           const Matrix4& projection, const Matrix4& modelView,
                                           const Viewport& viewport);

private:
    std::vector<float> window_;  // x, y per vertex in the window; NaN where in doubt
    std::vector<std::uint16_t> kept_;
};

}  // namespace webgl11
