// Stands in for libGL and libGLU in the tests: every call the program makes is appended to the
// fake call log with its arguments, so drawing, projection and light can be asserted in order.
#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/fake/CallLog.h"

namespace {

// A light or fog parameter name followed by its values: four for colours and positions.
std::vector<double> WithValues(std::vector<double> head, GLenum pname, const GLfloat* values) {
    head.insert(head.end(), values, values + (pname == GL_FOG_DENSITY ? 1 : 4));
    return head;
}

}  // namespace

using fake::Record;

void glShadeModel(GLenum mode) {
    Record("glShadeModel", {double(mode)});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    Record("glClearColor", {r, g, b, a});
}
void glClearDepth(GLclampd depth) {
    Record("glClearDepth", {depth});
}
void glEnable(GLenum cap) {
    Record("glEnable", {double(cap)});
}
void glClear(GLbitfield mask) {
    Record("glClear", {double(mask)});
}
void glMatrixMode(GLenum mode) {
    Record("glMatrixMode", {double(mode)});
}
void glLoadIdentity() {
    Record("glLoadIdentity");
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", {double(x), double(y), double(width), double(height)});
}
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    Record("glLightfv", WithValues({double(light), double(pname)}, pname, params));
}
void glLightModelfv(GLenum pname, const GLfloat* params) {
    Record("glLightModelfv", WithValues({double(pname)}, pname, params));
}
void glColorMaterial(GLenum face, GLenum mode) {
    Record("glColorMaterial", {double(face), double(mode)});
}
void glFogi(GLenum pname, GLint param) {
    Record("glFogi", {double(pname), double(param)});
}
void glFogf(GLenum pname, GLfloat param) {
    Record("glFogf", {double(pname), param});
}
void glFogfv(GLenum pname, const GLfloat* params) {
    Record("glFogfv", WithValues({double(pname)}, pname, params));
}
void glHint(GLenum target, GLenum mode) {
    Record("glHint", {double(target), double(mode)});
}
void glFlush() {
    Record("glFlush");
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    Record("glScalef", {x, y, z});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    Record("glColor3f", {r, g, b});
}
void glBegin(GLenum mode) {
    Record("glBegin", {double(mode)});
}
void glEnd() {
    Record("glEnd");
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    Record("glNormal3f", {x, y, z});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Record("glVertex3f", {x, y, z});
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Record("gluPerspective", {fovy, aspect, zNear, zFar});
}
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    Record("gluLookAt", {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ});
}
