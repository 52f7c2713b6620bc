// Stands in for libGL and libGLU in the tests: every call the program makes is appended to the
// fake call log with its arguments, so drawing, projection and light can be asserted in order.
#include <GL/gl.h>
#include <GL/glu.h>

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
RECORDED(gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar),
         {fovy, aspect, zNear, zFar})
RECORDED(gluLookAt,
         (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
          GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ),
         {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ})
