#include "webgl11/GlContext.h"

namespace webgl11 {

DrawState GlContext::Draw(bool litInShader, bool textured) const {
    DrawState state;
    state.modelView = matrices.ModelView();
    state.projection = matrices.Projection();
    state.lighting = litInShader && lighting && light0;
    state.normalize = normalize;
    state.twoSided = twoSided;
    state.light = light;
    state.fog = fog;
    state.textured = textured && texture2d;
    state.color = color;
    return state;
}

GlContext& Gl() {
    static GlContext context;
    return context;
}

}  // namespace webgl11
