// The page's GL copies client arrays into WebGL buffers: those the drawing keeps fixed, once.
#include "platform/Platform.h"
#include "webgl11/GlContext.h"

namespace platform {

void KeepArraysFixed(const void* data, std::size_t bytes) {
    webgl11::Gl().arrayCache.Fix(data, bytes);
}

void ReleaseArrays(const void* data) {
    webgl11::Gl().arrayCache.Release(data);
}

}  // namespace platform
