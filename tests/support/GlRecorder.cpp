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

// One stand-in: its name, its parameters, and the numbers it records (a light or fog
// parameter's four values for a colour or a position).
#define RECORDED(name, parameters, ...)   \
    void name parameters {                \
        fake::Record(#name, __VA_ARGS__); \
    }

RECORDED(glShadeModel, (GLenum mode), {double(mode)})
RECORDED(glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), {r, g, b, a})
RECORDED(glClearDepth, (GLclampd depth), {depth})
RECORDED(glEnable, (GLenum cap), {double(cap)})
RECORDED(glClear, (GLbitfield mask), {double(mask)})
RECORDED(glMatrixMode, (GLenum mode), {double(mode)})
RECORDED(glLoadIdentity, (), {})
RECORDED(glViewport, (GLint x, GLint y, GLsizei width, GLsizei height),
         {double(x), double(y), double(width), double(height)})
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
RECORDED(glDisable, (GLenum cap), {double(cap)})
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

// No matrices are kept: a query reads zeros, a view volume that leaves nothing out.
void glGetDoublev(GLenum, GLdouble* values) {
    std::fill(values, values + 16, 0.0);
}

// The one integer queried: textures as large as Mesa's software renderer takes.
void glGetIntegerv(GLenum name, GLint* value) {
    *value = name == GL_MAX_TEXTURE_SIZE ? 16384 : 0;
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
