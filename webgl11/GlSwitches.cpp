// The switches of glEnable, glDisable and glIsEnabled, by GL's names for them. A file of its own:
// on Windows <GL/gl.h> brings <windows.h>, whose DrawState macro would rename the DrawState
// of GlContext.cpp.
#include <GL/gl.h>

#include "webgl11/GlContext.h"

namespace webgl11 {

bool* GlContext::Switch(std::uint32_t capability) {
    switch (capability) {
        case GL_LIGHTING:
            return &lighting;
        case GL_LIGHT0:
            return &light0;
        case GL_COLOR_MATERIAL:
            return &colorMaterial;
        case GL_NORMALIZE:
            return &normalize;
        case GL_FOG:
            return &fog.enabled;
        case GL_TEXTURE_2D:
            return &texture2d;
        case GL_DEPTH_TEST:
            return &depthTest;
        case GL_BLEND:
            return &blend;
        default:
            return nullptr;
    }
}

}  // namespace webgl11
