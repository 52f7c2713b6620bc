// The OpenGL 1.1 calls of the program that read the frame back (a screenshot): glPixelStorei's
// pack alignment and glReadPixels of GL_RGB or GL_RGBA bytes, which WebGL 1 reads as RGBA.
#include <GL/gl.h>

#include "webgl11/GlContext.h"
#include "webgl11/PixelPacking.h"

using webgl11::Gl;

extern "C" {

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_PACK_ALIGNMENT && (value == 1 || value == 2 || value == 4 || value == 8)) {
        Gl().packAlignment = value;
    }
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
    if ((format != GL_RGB && format != GL_RGBA) || type != GL_UNSIGNED_BYTE || width <= 0 ||
        height <= 0 || pixels == nullptr) {
        return;
    }
    const std::vector<std::uint8_t> rgba = webgl11::device::ReadPixels(x, y, width, height);
    webgl11::PackPixels(rgba, width, height, format == GL_RGB ? 3 : 4, Gl().packAlignment,
                        static_cast<std::uint8_t*>(pixels));
}

}  // extern "C"
