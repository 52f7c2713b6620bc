// The OpenGL 1.1 and GLU texture calls of the program: texture objects, their filters, and
// gluBuild2DMipmaps (scaled to powers of two here, mipmaps built by WebGL). Texturing always
// modulates the lit colour.
#include <GL/gl.h>
#include <GL/glu.h>

#include "webgl11/TextureScaling.h"
#include "webgl11/WebGlDevice.h"

using webgl11::kLargestTexture;

extern "C" {

void glGenTextures(GLsizei count, GLuint* names) {
    for (GLsizei i = 0; i < count && names != nullptr; ++i) {
        names[i] = webgl11::device::CreateTexture();
    }
}

void glDeleteTextures(GLsizei count, const GLuint* names) {
    for (GLsizei i = 0; i < count && names != nullptr; ++i) {
        webgl11::device::DeleteTexture(names[i]);
    }
}

void glBindTexture(GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D) {
        webgl11::device::BindTexture(texture);
    }
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
    if (target == GL_TEXTURE_2D) {
        webgl11::device::TextureParameter(name, value);
    }
}

void glTexEnvi(GLenum, GLenum, GLint) {}

GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* data) {
    if (target != GL_TEXTURE_2D || format != GL_RGBA || type != GL_UNSIGNED_BYTE) {
        return GLU_INVALID_ENUM;
    }
    if (width <= 0 || height <= 0 || data == nullptr) {
        return GLU_INVALID_VALUE;
    }
    const int newWidth = webgl11::PowerOfTwoAtMost(width, kLargestTexture);
    const int newHeight = webgl11::PowerOfTwoAtMost(height, kLargestTexture);
    webgl11::device::UploadMipmapped(newWidth, newHeight,
                                     webgl11::ScaleRgba(static_cast<const std::uint8_t*>(data),
                                                        width, height, newWidth, newHeight));
    return 0;
}

}  // extern "C"
