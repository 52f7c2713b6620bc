// The OpenGL 1.1 and GLU calls of the program that set state: capabilities, matrices, the light,
// the fog, clearing, and the queries of that state. State WebGL keeps (depth, blending) passes
// through to it.
#include <GL/gl.h>
#include <GL/glu.h>

#include "webgl11/GlContext.h"
#include "webgl11/TextureScaling.h"

using webgl11::Gl;

namespace {

void SetCapability(GLenum capability, bool on) {
    if (bool* const state = Gl().Switch(capability)) {
        *state = on;
    }
    if (capability == GL_DEPTH_TEST || capability == GL_BLEND) {
        webgl11::device::SetCapability(capability, on);
    }
}

webgl11::Vec4 FourOf(const GLfloat* values) {
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace

extern "C" {

void glEnable(GLenum capability) {
    SetCapability(capability, true);
}

void glDisable(GLenum capability) {
    SetCapability(capability, false);
}

GLboolean glIsEnabled(GLenum capability) {
    const bool* on = Gl().Switch(capability);
    return on != nullptr && *on ? GL_TRUE : GL_FALSE;
}

void glHint(GLenum, GLenum) {}
void glFlush() {}

void glShadeModel(GLenum mode) {
    Gl().flat = mode == GL_FLAT;
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    Gl().clearColor = {red, green, blue, alpha};
}

void glClearDepth(GLclampd depth) {
    Gl().clearDepth = static_cast<float>(depth);
}

// A frame begins with its clearing: copies of arrays no longer drawn go.
void glClear(GLbitfield mask) {
    for (const std::uint32_t buffer : Gl().arrayCache.EndFrame()) {
        webgl11::device::DeleteBuffer(buffer);
    }
    webgl11::device::Clear(mask, Gl().clearColor, Gl().clearDepth);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Gl().viewport = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                     static_cast<float>(height)};
    webgl11::device::Viewport(x, y, width, height);
}

void glDepthMask(GLboolean flag) {
    webgl11::device::DepthMask(flag != GL_FALSE);
}

void glBlendFunc(GLenum source, GLenum destination) {
    webgl11::device::BlendFunc(source, destination);
}

void glMatrixMode(GLenum mode) {
    Gl().matrices.SetMode(mode == GL_PROJECTION ? webgl11::MatrixMode::kProjection
                                                : webgl11::MatrixMode::kModelView);
}

void glLoadIdentity() {
    Gl().matrices.LoadIdentity();
}

void glPushMatrix() {
    Gl().matrices.Push();
}

void glPopMatrix() {
    Gl().matrices.Pop();
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    Gl().matrices.MultiplyBy(webgl11::Translation(x, y, z));
}

void glScaled(GLdouble x, GLdouble y, GLdouble z) {
    Gl().matrices.MultiplyBy(webgl11::Scaling(x, y, z));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    Gl().matrices.MultiplyBy(webgl11::Scaling(x, y, z));
}

void glGetDoublev(GLenum name, GLdouble* values) {
    const bool modelView = name == GL_MODELVIEW_MATRIX;
    if (values == nullptr || (!modelView && name != GL_PROJECTION_MATRIX)) {
        return;
    }
    const webgl11::Matrix4& matrix =
        modelView ? Gl().matrices.ModelView() : Gl().matrices.Projection();
    for (std::size_t i = 0; i < matrix.m.size(); ++i) {
        values[i] = matrix.m[i];
    }
}

// The integers the program asks for: the viewport and the largest texture side.
void glGetIntegerv(GLenum name, GLint* values) {
    if (values == nullptr) {
        return;
    }
    if (name == GL_VIEWPORT) {
        const webgl11::Viewport& viewport = Gl().viewport;
        values[0] = static_cast<GLint>(viewport.x);
        values[1] = static_cast<GLint>(viewport.y);
        values[2] = static_cast<GLint>(viewport.width);
        values[3] = static_cast<GLint>(viewport.height);
    } else {
        values[0] = name == GL_MAX_TEXTURE_SIZE ? webgl11::kLargestTexture : 0;
    }
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Gl().matrices.MultiplyBy(webgl11::Perspective(fovy, aspect, zNear, zFar));
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    Gl().matrices.MultiplyBy(
        webgl11::LookAt({eyeX, eyeY, eyeZ}, {centreX, centreY, centreZ}, {upX, upY, upZ}));
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (light != GL_LIGHT0 || values == nullptr) {
        return;
    }
    webgl11::LightState& state = Gl().light;
    switch (name) {
        case GL_AMBIENT:
            state.ambient = FourOf(values);
            break;
        case GL_DIFFUSE:
            state.diffuse = FourOf(values);
            break;
        case GL_POSITION:
            // Kept in eye space, as the model-view matrix stands now.
            state.eyePosition = webgl11::Transform(Gl().matrices.ModelView(), FourOf(values));
            break;
        default:
            break;
    }
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    if (name == GL_LIGHT_MODEL_AMBIENT && values != nullptr) {
        Gl().light.modelAmbient = FourOf(values);
    }
}

void glLightModeli(GLenum name, GLint value) {
    if (name == GL_LIGHT_MODEL_TWO_SIDE) {
        Gl().twoSided = value != 0;
    }
}

// Ambient and diffuse follow the colour on the faces the lighting uses; the two-sided model
// names both faces.
void glColorMaterial(GLenum, GLenum) {}

void glFogi(GLenum, GLint) {}  // linear fog is the only one

void glFogf(GLenum name, GLfloat value) {
    if (name == GL_FOG_START) {
        Gl().fog.start = value;
    } else if (name == GL_FOG_END) {
        Gl().fog.end = value;
    }
}

void glFogfv(GLenum name, const GLfloat* values) {
    if (name == GL_FOG_COLOR && values != nullptr) {
        Gl().fog.color = FourOf(values);
    }
}

}  // extern "C"
