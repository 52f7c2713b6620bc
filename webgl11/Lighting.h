// OpenGL 1.1's lighting equation for one light, with the colour material tracking ambient and
// diffuse: the front colour of a vertex from its eye-space position and normal. The material has
// no specular or emission, so the light's specular term is always zero.
#pragma once

#include "webgl11/Matrix4.h"

namespace webgl11 {

struct LightState {
    Vec4 ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Vec4 eyePosition{0.0f, 0.0f, 1.0f, 0.0f};  // w 0: a direction; otherwise a point
    Vec4 modelAmbient{0.2f, 0.2f, 0.2f, 1.0f};
};

// colour * (model ambient + light ambient) + max(N.L, 0) * colour * light diffuse, each
// channel clamped to [0, 1]; alpha is the colour's. N is used as given (GL_NORMALIZE is the
// caller's business).
Vec4 LitColor(const LightState& light, const Vec3& eyePosition, const Vec3& eyeNormal,
              const Vec4& color);

}  // namespace webgl11
