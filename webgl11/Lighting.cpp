#include "webgl11/Lighting.h"

#include <algorithm>

namespace webgl11 {

Vec4 LitColor(const LightState& light, const Vec3& eyePosition, const Vec3& eyeNormal,
              const Vec4& color) {
    Vec3 toLight{light.eyePosition[0], light.eyePosition[1], light.eyePosition[2]};
    if (light.eyePosition[3] != 0.0f) {
        for (unsigned i = 0; i < 3; ++i) {
            toLight[i] = toLight[i] / light.eyePosition[3] - eyePosition[i];
        }
    }
    toLight = Normalized(toLight);
    const float facing = std::max(
        0.0f, eyeNormal[0] * toLight[0] + eyeNormal[1] * toLight[1] + eyeNormal[2] * toLight[2]);
    Vec4 lit{0.0f, 0.0f, 0.0f, color[3]};
    for (unsigned i = 0; i < 3; ++i) {
        const float sum = color[i] * light.modelAmbient[i] + color[i] * light.ambient[i] +
                          facing * color[i] * light.diffuse[i];
        lit[i] = std::clamp(sum, 0.0f, 1.0f);
    }
    return lit;
}

}  // namespace webgl11
