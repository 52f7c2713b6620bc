// The vertices of one glBegin/glEnd block of triangles, lit as OpenGL 1.1 lights them per
// vertex, ready for the GPU: the position in model space, the lit colour and the texture
// coordinates.
#pragma once

#include <vector>

#include "webgl11/Lighting.h"

namespace webgl11 {

struct ImmediateVertex {
    Vec3 position;
    Vec3 normal;
    Vec4 color;
    std::array<float, 2> texCoord;
};

struct ShadingInputs {
    Matrix4 modelView;
    bool lighting = false;
    bool normalize = false;
    // Flat shading: each triangle takes the colour of its last vertex, the one GL names.
    bool flat = false;
    LightState light;
};

constexpr int kShadedFloats = 9;  // x y z r g b a s t

// kShadedFloats per vertex of the whole triangles in `vertices`; a trailing partial triangle is
// dropped, as GL drops it.
std::vector<float> ShadeTriangles(const std::vector<ImmediateVertex>& vertices,
                                  const ShadingInputs& inputs);

}  // namespace webgl11
