#include "platform/web/gl/WebGlDevice.h"

#include <GLES2/gl2.h>

#include <cstdio>

#include "platform/web/gl/ImmediateShading.h"

// emscripten's WebGL calls under their second names: the first ones (glEnable...) are the
// OpenGL 1.1 entry points this subset defines for the program.
extern "C" {
#define WEBGL_CALL(result, name, parameters) result emscripten_##name parameters;
WEBGL_CALL(GLuint, glCreateShader, (GLenum))
WEBGL_CALL(void, glShaderSource, (GLuint, GLsizei, const GLchar* const*, const GLint*))
WEBGL_CALL(void, glCompileShader, (GLuint))
WEBGL_CALL(void, glGetShaderiv, (GLuint, GLenum, GLint*))
WEBGL_CALL(void, glGetShaderInfoLog, (GLuint, GLsizei, GLsizei*, GLchar*))
WEBGL_CALL(GLuint, glCreateProgram, ())
WEBGL_CALL(void, glAttachShader, (GLuint, GLuint))
WEBGL_CALL(void, glBindAttribLocation, (GLuint, GLuint, const GLchar*))
WEBGL_CALL(void, glLinkProgram, (GLuint))
WEBGL_CALL(void, glGetProgramiv, (GLuint, GLenum, GLint*))
WEBGL_CALL(void, glUseProgram, (GLuint))
WEBGL_CALL(GLint, glGetUniformLocation, (GLuint, const GLchar*))
WEBGL_CALL(void, glUniformMatrix4fv, (GLint, GLsizei, GLboolean, const GLfloat*))
WEBGL_CALL(void, glUniformMatrix3fv, (GLint, GLsizei, GLboolean, const GLfloat*))
WEBGL_CALL(void, glUniform1i, (GLint, GLint))
WEBGL_CALL(void, glUniform1f, (GLint, GLfloat))
WEBGL_CALL(void, glUniform3fv, (GLint, GLsizei, const GLfloat*))
WEBGL_CALL(void, glUniform4fv, (GLint, GLsizei, const GLfloat*))
WEBGL_CALL(void, glGenBuffers, (GLsizei, GLuint*))
WEBGL_CALL(void, glDeleteBuffers, (GLsizei, const GLuint*))
WEBGL_CALL(void, glBindBuffer, (GLenum, GLuint))
WEBGL_CALL(void, glBufferData, (GLenum, GLsizeiptr, const void*, GLenum))
WEBGL_CALL(void, glVertexAttribPointer, (GLuint, GLint, GLenum, GLboolean, GLsizei, const void*))
WEBGL_CALL(void, glEnableVertexAttribArray, (GLuint))
WEBGL_CALL(void, glDisableVertexAttribArray, (GLuint))
WEBGL_CALL(void, glVertexAttrib4fv, (GLuint, const GLfloat*))
WEBGL_CALL(void, glDrawArrays, (GLenum, GLint, GLsizei))
WEBGL_CALL(void, glClear, (GLbitfield))
WEBGL_CALL(void, glClearColor, (GLfloat, GLfloat, GLfloat, GLfloat))
WEBGL_CALL(void, glClearDepthf, (GLfloat))
WEBGL_CALL(void, glViewport, (GLint, GLint, GLsizei, GLsizei))
WEBGL_CALL(void, glEnable, (GLenum))
WEBGL_CALL(void, glDisable, (GLenum))
WEBGL_CALL(void, glDepthMask, (GLboolean))
WEBGL_CALL(void, glBlendFunc, (GLenum, GLenum))
WEBGL_CALL(void, glGenTextures, (GLsizei, GLuint*))
WEBGL_CALL(void, glDeleteTextures, (GLsizei, const GLuint*))
WEBGL_CALL(void, glBindTexture, (GLenum, GLuint))
WEBGL_CALL(void, glTexParameteri, (GLenum, GLenum, GLint))
WEBGL_CALL(void, glTexImage2D,
           (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*))
WEBGL_CALL(void, glGenerateMipmap, (GLenum))
#undef WEBGL_CALL
}

namespace webgl11 {

namespace {

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kColor = 2, kTexCoord = 3 };

// OpenGL 1.1's per-vertex lighting (Lighting.cpp's equation) for arrays, both faces when
// two-sided; the eye distance for the fog.
constexpr const char* kVertexShader = R"(
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec4 aColor;
attribute vec2 aTexCoord;
uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform bool uNormalize;
uniform vec4 uLightPosition;
uniform vec3 uLightAmbient;
uniform vec3 uLightDiffuse;
uniform vec3 uModelAmbient;
varying vec4 vFront;
varying vec4 vBack;
varying vec2 vTexCoord;
varying float vFogDepth;
vec4 Lit(vec3 n, vec3 p, vec4 c) {
    vec3 l = uLightPosition.w != 0.0 ? uLightPosition.xyz / uLightPosition.w - p
                                     : uLightPosition.xyz;
    float facing = max(dot(n, normalize(l)), 0.0);
    vec3 sum = c.rgb * uModelAmbient + c.rgb * uLightAmbient + facing * c.rgb * uLightDiffuse;
    return vec4(clamp(sum, 0.0, 1.0), c.a);
}
void main() {
    vec4 eye = uModelView * vec4(aPosition, 1.0);
    gl_Position = uProjection * eye;
    vFogDepth = abs(eye.z);
    vTexCoord = aTexCoord;
    vFront = aColor;
    vBack = aColor;
    if (uLighting) {
        vec3 n = uNormalMatrix * aNormal;
        if (uNormalize) {
            n = normalize(n);
        }
        vFront = Lit(n, eye.xyz, aColor);
        vBack = Lit(-n, eye.xyz, aColor);
    }
}
)";

// GL_MODULATE texturing and linear fog, per fragment.
constexpr const char* kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform bool uTwoSided;
uniform bool uTextured;
uniform sampler2D uTexture;
uniform bool uFog;
uniform float uFogStart;
uniform float uFogEnd;
uniform vec3 uFogColor;
varying vec4 vFront;
varying vec4 vBack;
varying vec2 vTexCoord;
varying float vFogDepth;
void main() {
    vec4 color = (uTwoSided && !gl_FrontFacing) ? vBack : vFront;
    if (uTextured) {
        color *= texture2D(uTexture, vTexCoord);
    }
    if (uFog) {
        float f = clamp((uFogEnd - vFogDepth) / (uFogEnd - uFogStart), 0.0, 1.0);
        color.rgb = mix(uFogColor, color.rgb, f);
    }
    gl_FragColor = color;
}
)";

struct Uniforms {
    GLint modelView, projection, normalMatrix, lighting, normalize, lightPosition, lightAmbient,
        lightDiffuse, modelAmbient, twoSided, textured, texture, fog, fogStart, fogEnd, fogColor;
};

struct Device {
    GLuint program = 0;
    GLuint streamBuffer = 0;
    Uniforms uniforms{};
};

Device& TheDevice() {
    static Device device;
    return device;
}

GLuint Compile(GLenum kind, const char* source) {
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        char log[1024] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "the WebGL shader does not compile: %s\n", log);
    }
    return shader;
}

void SetUniforms(const DrawState& state) {
    const Uniforms& u = TheDevice().uniforms;
    emscripten_glUniformMatrix4fv(u.modelView, 1, GL_FALSE, state.modelView.m.data());
    emscripten_glUniformMatrix4fv(u.projection, 1, GL_FALSE, state.projection.m.data());
    emscripten_glUniform1i(u.lighting, state.lighting);
    if (state.lighting) {
        const std::array<Vec3, 3> rows = NormalMatrix(state.modelView);
        float columns[9];
        for (unsigned row = 0; row < 3; ++row) {
            for (unsigned column = 0; column < 3; ++column) {
                columns[column * 3 + row] = rows[row][column];
            }
        }
        emscripten_glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, columns);
        emscripten_glUniform1i(u.normalize, state.normalize);
        emscripten_glUniform4fv(u.lightPosition, 1, state.light.eyePosition.data());
        emscripten_glUniform3fv(u.lightAmbient, 1, state.light.ambient.data());
        emscripten_glUniform3fv(u.lightDiffuse, 1, state.light.diffuse.data());
        emscripten_glUniform3fv(u.modelAmbient, 1, state.light.modelAmbient.data());
    }
    emscripten_glUniform1i(u.twoSided, state.lighting && state.twoSided);
    emscripten_glUniform1i(u.textured, state.textured);
    emscripten_glUniform1i(u.fog, state.fog.enabled);
    emscripten_glUniform1f(u.fogStart, state.fog.start);
    emscripten_glUniform1f(u.fogEnd, state.fog.end);
    emscripten_glUniform3fv(u.fogColor, 1, state.fog.color.data());
}

void PointAt(Attribute attribute, int size, int stride, int offset) {
    emscripten_glEnableVertexAttribArray(attribute);
    emscripten_glVertexAttribPointer(attribute, size, GL_FLOAT, GL_FALSE,
                                     stride * static_cast<int>(sizeof(float)),
                                     reinterpret_cast<const void*>(offset * sizeof(float)));
}

// Draws the bound buffer of kArrayFloats per vertex.
void DrawBoundArrays(int vertexCount, const DrawState& state) {
    PointAt(kPosition, 3, kArrayFloats, 0);
    PointAt(kNormal, 3, kArrayFloats, 3);
    PointAt(kTexCoord, 2, kArrayFloats, 6);
    emscripten_glDisableVertexAttribArray(kColor);
    emscripten_glVertexAttrib4fv(kColor, state.color.data());
    emscripten_glDrawArrays(GL_TRIANGLES, 0, vertexCount);
}

}  // namespace

namespace device {

bool Start() {
    Device& device = TheDevice();
    device.program = emscripten_glCreateProgram();
    emscripten_glAttachShader(device.program, Compile(GL_VERTEX_SHADER, kVertexShader));
    emscripten_glAttachShader(device.program, Compile(GL_FRAGMENT_SHADER, kFragmentShader));
    emscripten_glBindAttribLocation(device.program, kPosition, "aPosition");
    emscripten_glBindAttribLocation(device.program, kNormal, "aNormal");
    emscripten_glBindAttribLocation(device.program, kColor, "aColor");
    emscripten_glBindAttribLocation(device.program, kTexCoord, "aTexCoord");
    emscripten_glLinkProgram(device.program);
    GLint linked = GL_FALSE;
    emscripten_glGetProgramiv(device.program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::fprintf(stderr, "the WebGL shader does not link\n");
        return false;
    }
    emscripten_glUseProgram(device.program);
    const auto at = [&device](const char* name) {
        return emscripten_glGetUniformLocation(device.program, name);
    };
    device.uniforms = {
        at("uModelView"),    at("uProjection"),    at("uNormalMatrix"), at("uLighting"),
        at("uNormalize"),    at("uLightPosition"), at("uLightAmbient"), at("uLightDiffuse"),
        at("uModelAmbient"), at("uTwoSided"),      at("uTextured"),     at("uTexture"),
        at("uFog"),          at("uFogStart"),      at("uFogEnd"),       at("uFogColor")};
    emscripten_glUniform1i(device.uniforms.texture, 0);
    emscripten_glGenBuffers(1, &device.streamBuffer);
    return true;
}

void DrawLitTriangles(const std::vector<float>& vertices, const DrawState& state) {
    if (vertices.empty()) {
        return;
    }
    const Device& device = TheDevice();
    SetUniforms(state);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, device.streamBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                            vertices.data(), GL_STREAM_DRAW);
    PointAt(kPosition, 3, kShadedFloats, 0);
    PointAt(kColor, 4, kShadedFloats, 3);
    PointAt(kTexCoord, 2, kShadedFloats, 7);
    emscripten_glDisableVertexAttribArray(kNormal);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / kShadedFloats));
}

std::uint32_t CreateArrayBuffer(const std::vector<float>& vertices) {
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                            vertices.data(), GL_STATIC_DRAW);
    return buffer;
}

void DrawArrayBuffer(std::uint32_t buffer, int vertexCount, const DrawState& state) {
    if (buffer == 0 || vertexCount <= 0) {
        return;
    }
    SetUniforms(state);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    DrawBoundArrays(vertexCount, state);
}

void DrawStreamedArrays(const std::vector<float>& vertices, const DrawState& state) {
    if (vertices.empty()) {
        return;
    }
    SetUniforms(state);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, TheDevice().streamBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                            vertices.data(), GL_STREAM_DRAW);
    DrawBoundArrays(static_cast<int>(vertices.size() / kArrayFloats), state);
}

void DeleteArrayBuffer(std::uint32_t buffer) {
    emscripten_glDeleteBuffers(1, &buffer);
}

void Clear(std::uint32_t mask, const Vec4& color, float depth) {
    emscripten_glClearColor(color[0], color[1], color[2], color[3]);
    emscripten_glClearDepthf(depth);
    emscripten_glClear(mask);
}

void Viewport(int x, int y, int width, int height) {
    emscripten_glViewport(x, y, width, height);
}

void SetCapability(std::uint32_t capability, bool on) {
    if (on) {
        emscripten_glEnable(capability);
    } else {
        emscripten_glDisable(capability);
    }
}

void DepthMask(bool on) {
    emscripten_glDepthMask(on ? GL_TRUE : GL_FALSE);
}

void BlendFunc(std::uint32_t source, std::uint32_t destination) {
    emscripten_glBlendFunc(source, destination);
}

std::uint32_t CreateTexture() {
    GLuint texture = 0;
    emscripten_glGenTextures(1, &texture);
    return texture;
}

void DeleteTexture(std::uint32_t texture) {
    emscripten_glDeleteTextures(1, &texture);
}

void BindTexture(std::uint32_t texture) {
    emscripten_glBindTexture(GL_TEXTURE_2D, texture);
}

void TextureParameter(std::uint32_t name, int value) {
    emscripten_glTexParameteri(GL_TEXTURE_2D, name, value);
}

void UploadMipmapped(int width, int height, const std::vector<std::uint8_t>& rgba) {
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                            rgba.data());
    emscripten_glGenerateMipmap(GL_TEXTURE_2D);
}

}  // namespace device

}  // namespace webgl11
