// The desktop GLs (Mesa, Windows' OpenGL) read client arrays at each draw: nothing to keep.
#include "platform/Platform.h"

namespace platform {

void KeepArraysFixed(const void*, std::size_t) {}
void ReleaseArrays(const void*) {}

}  // namespace platform
