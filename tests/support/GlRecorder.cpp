// Stands in for libGL and libGLU in the tests: every call the program makes is appended to the
// fake call log with its arguments, so drawing, projection and light can be asserted in order.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "platform/fake/CallLog.h"
#include "tests/support/GlRecorder.h"

// One stand-in: its name, its parameters, and the numbers it records (a light or fog
// parameter's four values for a colour or a position).
#define RECORDED(name, parameters, ...)   \
    void name parameters {                \
        fake::Record(#name, __VA_ARGS__); \
    }

RECORDED(glShadeModel, (GLenum mode), {double(mode)})
RECORDED(glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), {r, g, b, a})
RECORDED(glClearDepth, (GLclampd depth), {depth})
RECORDED(glClear, (GLbitfield mask), {double(mask)})
RECORDED(glMatrixMode, (GLenum mode), {double(mode)})
RECORDED(glLoadIdentity, (), {})
RECORDED(glLightfv, (GLenum light, GLenum pname, const GLfloat* params),
         {double(light), double(pname), params[0], params[1], params[2], params[3]})
RECORDED(glLightModelfv, (GLenum pname, const GLfloat* params),
         {double(pname), params[0], params[1], params[2], params[3]})
RECORDED(glColorMaterial, (GLenum face, GLenum mode), {double(face), double(mode)})
RECORDED(glFogi, (GLenum pname, GLint param), {double(pname), double(param)})
RECORDED(glFogf, (GLenum pname, GLfloat param), {double(pname), param})
RECORDED(glFogfv, (GLenum pname, const GLfloat* params),
         {double(pname), params[0], params[1], params[2], params[3]})
RECORDED(glHint, (GLenum target, GLenum mode), {double(target), double(mode)})
RECORDED(glFlush, (), {})
RECORDED(glScalef, (GLfloat x, GLfloat y, GLfloat z), {x, y, z})
RECORDED(glScaled, (GLdouble x, GLdouble y, GLdouble z), {x, y, z})
RECORDED(glTranslated, (GLdouble x, GLdouble y, GLdouble z), {x, y, z})
RECORDED(glColor3f, (GLfloat r, GLfloat g, GLfloat b), {r, g, b})
RECORDED(glBegin, (GLenum mode), {double(mode)})
RECORDED(glEnd, (), {})
RECORDED(glNormal3f, (GLfloat x, GLfloat y, GLfloat z), {x, y, z})
RECORDED(glVertex3f, (GLfloat x, GLfloat y, GLfloat z), {x, y, z})
RECORDED(glTexCoord2f, (GLfloat u, GLfloat v), {u, v})
RECORDED(gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar),
         {fovy, aspect, zNear, zFar})
RECORDED(gluLookAt,
         (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
          GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ),
         {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ})
RECORDED(glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), {r, g, b, a})
RECORDED(glLightModeli, (GLenum pname, GLint param), {double(pname), double(param)})
RECORDED(glBlendFunc, (GLenum source, GLenum destination), {double(source), double(destination)})
RECORDED(glDepthMask, (GLboolean flag), {double(flag)})
RECORDED(glBindTexture, (GLenum target, GLuint texture), {double(target), double(texture)})
RECORDED(glTexParameteri, (GLenum target, GLenum pname, GLint param),
         {double(target), double(pname), double(param)})
RECORDED(glTexEnvi, (GLenum target, GLenum pname, GLint param),
         {double(target), double(pname), double(param)})
RECORDED(glDeleteTextures, (GLsizei count, const GLuint*), {double(count)})
RECORDED(glPushMatrix, (), {})
RECORDED(glPopMatrix, (), {})
RECORDED(glPixelStorei, (GLenum pname, GLint param), {double(pname), double(param)})

// The state the queries below read, kept as GL keeps it: across tests and a cleared log.
namespace {
std::set<GLenum> g_enabled;
GLint g_viewport[4] = {0, 0, 0, 0};
}  // namespace

void glEnable(GLenum cap) {
    fake::Record("glEnable", {double(cap)});
    g_enabled.insert(cap);
}
void glDisable(GLenum cap) {
    fake::Record("glDisable", {double(cap)});
    g_enabled.erase(cap);
}
GLboolean glIsEnabled(GLenum cap) {
    return g_enabled.count(cap) != 0 ? GL_TRUE : GL_FALSE;
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    fake::Record("glViewport", {double(x), double(y), double(width), double(height)});
    g_viewport[0] = x, g_viewport[1] = y, g_viewport[2] = width, g_viewport[3] = height;
}
// The viewport is the last glViewport's; textures may be as large as Mesa's software renderer
// takes.
void glGetIntegerv(GLenum name, GLint* values) {
    if (name == GL_VIEWPORT) {
        std::copy(g_viewport, g_viewport + 4, values);
    } else {
        *values = name == GL_MAX_TEXTURE_SIZE ? 16384 : 0;
    }
}

// The pixels read are a pattern of their place (GlRecorder.h), in rows padded to the last
// GL_PACK_ALIGNMENT in the log (4 unless set).
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) {
    fake::Record("glReadPixels", {double(x), double(y), double(width), double(height),
                                  double(format), double(type)});
    const int channels = format == GL_RGBA ? 4 : 3;
    int alignment = 4;
    for (const fake::Call& store : fake::CallsNamed("glPixelStorei")) {
        if (store.args[0] == GL_PACK_ALIGNMENT) {
            alignment = static_cast<int>(store.args[1]);
        }
    }
    const int rowBytes = (width * channels + alignment - 1) / alignment * alignment;
    auto* bytes = static_cast<unsigned char*>(pixels);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            for (int c = 0; c < channels; ++c) {
                bytes[row * rowBytes + column * channels + c] =
                    fake::RecordedPixelByte(column, row, c);
            }
        }
    }
}

// No matrices are kept: a query reads zeros, a view volume that leaves nothing out.
void glGetDoublev(GLenum, GLdouble* values) {
    std::fill(values, values + 16, 0.0);
}

// Texture names 1 to count; an image is recorded by its size.
void glGenTextures(GLsizei count, GLuint* names) {
    for (GLsizei i = 0; i < count; ++i) {
        names[i] = static_cast<GLuint>(i + 1);
    }
    fake::Record("glGenTextures", {double(count)});
}
GLint gluBuild2DMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height, GLenum,
                        GLenum, const void*) {
    fake::Record("gluBuild2DMipmaps",
                 {double(target), double(components), double(width), double(height)});
    return 0;
}

// Vertex arrays of floats, tightly packed, and indices of 16 bits: glDrawElements is recorded
// as the immediate-mode calls it stands for, per corner the texture coordinates, normal and
// vertex of the arrays enabled.
namespace {
std::set<GLenum> g_enabledArrays;
std::map<GLenum, const GLfloat*> g_arrays;

void RecordCorner(GLushort i) {
    const std::tuple<GLenum, const char*, int> kinds[] = {
        {GL_TEXTURE_COORD_ARRAY, "glTexCoord2f", 2},
        {GL_NORMAL_ARRAY, "glNormal3f", 3},
        {GL_VERTEX_ARRAY, "glVertex3f", 3}};
    for (const auto& [array, name, size] : kinds) {
        if (g_enabledArrays.count(array) > 0) {
            const GLfloat* at = g_arrays[array] + size * i;
            fake::Record(name, std::vector<double>(at, at + size));
        }
    }
}
}  // namespace

void glEnableClientState(GLenum array) {
    g_enabledArrays.insert(array);
}
void glDisableClientState(GLenum array) {
    g_enabledArrays.erase(array);
}
void glVertexPointer(GLint, GLenum, GLsizei, const void* data) {
    g_arrays[GL_VERTEX_ARRAY] = static_cast<const GLfloat*>(data);
}
void glNormalPointer(GLenum, GLsizei, const void* data) {
    g_arrays[GL_NORMAL_ARRAY] = static_cast<const GLfloat*>(data);
}
void glTexCoordPointer(GLint, GLenum, GLsizei, const void* data) {
    g_arrays[GL_TEXTURE_COORD_ARRAY] = static_cast<const GLfloat*>(data);
}
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    fake::Record("glDrawElements", {double(mode), double(count), double(type)});
    for (GLsizei i = 0; i < count; ++i) {
        RecordCorner(static_cast<const GLushort*>(indices)[i]);
    }
}
