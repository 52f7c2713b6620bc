#include "webgl11/WebGlDevice.h"

#include <GLES2/gl2.h>

#include <array>
#include <cstdio>
#include <iterator>
#include <string>

#include "webgl11/ImmediateShading.h"

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
WEBGL_CALL(void, glDrawElements, (GLenum, GLsizei, GLenum, const void*))
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
WEBGL_CALL(void, glPixelStorei, (GLenum, GLint))
WEBGL_CALL(void, glReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*))
#undef WEBGL_CALL
}

namespace webgl11 {

namespace {

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kColor = 2, kTexCoord = 3 };

// What OpenGL 1.1's fixed pipeline does for this program, in one shader program for each
// combination of the features a draw uses: a software renderer runs a branch-free program much
// faster than one that tests uniforms per vertex and per fragment.
enum Feature : unsigned {
    kLighting = 1u,   // per-vertex lighting (Lighting.cpp's equation), for arrays
    kNormalize = 2u,  // GL_NORMALIZE
    kTwoSided = 4u,   // both faces lit
    kTextured = 8u,   // GL_MODULATE texturing
    kFog = 16u,       // linear fog
    kFeatureCombinations = 32u,
};

constexpr const char* kFeatureNames[] = {"LIGHTING", "NORMALIZE", "TWO_SIDED", "TEXTURED", "FOG"};

constexpr const char* kVertexShader = R"(
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec4 aColor;
attribute vec2 aTexCoord;
uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
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
#ifdef FOG
    vFogDepth = abs(eye.z);
#endif
#ifdef TEXTURED
    vTexCoord = aTexCoord;
#endif
#ifdef LIGHTING
    vec3 n = uNormalMatrix * aNormal;
#ifdef NORMALIZE
    n = normalize(n);
#endif
    vFront = Lit(n, eye.xyz, aColor);
#ifdef TWO_SIDED
    vBack = Lit(-n, eye.xyz, aColor);
#endif
#else
    vFront = aColor;
#endif
}
)";

constexpr const char* kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D uTexture;
uniform float uFogStart;
uniform float uFogEnd;
uniform vec3 uFogColor;
varying vec4 vFront;
varying vec4 vBack;
varying vec2 vTexCoord;
varying float vFogDepth;
void main() {
#ifdef TWO_SIDED
    vec4 color = gl_FrontFacing ? vFront : vBack;
#else
    vec4 color = vFront;
#endif
#ifdef TEXTURED
    color *= texture2D(uTexture, vTexCoord);
#endif
#ifdef FOG
    float f = clamp((uFogEnd - vFogDepth) / (uFogEnd - uFogStart), 0.0, 1.0);
    color.rgb = mix(uFogColor, color.rgb, f);
#endif
    gl_FragColor = color;
}
)";

struct Uniforms {
    GLint modelView, projection, normalMatrix, lightPosition, lightAmbient, lightDiffuse,
        modelAmbient, texture, fogStart, fogEnd, fogColor;
};

struct Program {
    GLuint name = 0;  // 0: not built, or it did not build
    bool tried = false;
    Uniforms uniforms{};
};

struct Device {
    std::array<Program, kFeatureCombinations> programs{};
    GLuint current = 0;
    GLuint streamBuffer = 0;
    GLuint streamIndices = 0;
};

Device& TheDevice() {
    static Device device;
    return device;
}

unsigned FeaturesOf(const DrawState& state) {
    unsigned features = 0;
    if (state.lighting) {
        features |= kLighting;
        features |= state.normalize ? kNormalize : 0u;
        features |= state.twoSided ? kTwoSided : 0u;
    }
    features |= state.textured ? kTextured : 0u;
    features |= state.fog.enabled ? kFog : 0u;
    return features;
}

GLuint Compile(GLenum kind, unsigned features, const char* body) {
    std::string source;
    for (unsigned bit = 0; bit < std::size(kFeatureNames); ++bit) {
        if ((features & (1u << bit)) != 0) {
            source += std::string("#define ") + kFeatureNames[bit] + "\n";
        }
    }
    source += body;
    const char* text = source.c_str();
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &text, nullptr);
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

// The program for these features, built the first time they are drawn with; 0 if it does not link.
const Program& ProgramFor(unsigned features) {
    Program& program = TheDevice().programs[features];
    if (program.tried) {
        return program;
    }
    program.tried = true;
    const GLuint name = emscripten_glCreateProgram();
    emscripten_glAttachShader(name, Compile(GL_VERTEX_SHADER, features, kVertexShader));
    emscripten_glAttachShader(name, Compile(GL_FRAGMENT_SHADER, features, kFragmentShader));
    emscripten_glBindAttribLocation(name, kPosition, "aPosition");
    emscripten_glBindAttribLocation(name, kNormal, "aNormal");
    emscripten_glBindAttribLocation(name, kColor, "aColor");
    emscripten_glBindAttribLocation(name, kTexCoord, "aTexCoord");
    emscripten_glLinkProgram(name);
    GLint linked = GL_FALSE;
    emscripten_glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::fprintf(stderr, "the WebGL shader does not link\n");
        return program;
    }
    const auto at = [name](const char* uniform) {
        return emscripten_glGetUniformLocation(name, uniform);
    };
    program.uniforms = {at("uModelView"),     at("uProjection"),   at("uNormalMatrix"),
                        at("uLightPosition"), at("uLightAmbient"), at("uLightDiffuse"),
                        at("uModelAmbient"),  at("uTexture"),      at("uFogStart"),
                        at("uFogEnd"),        at("uFogColor")};
    emscripten_glUseProgram(name);
    emscripten_glUniform1i(program.uniforms.texture, 0);
    TheDevice().current = name;
    program.name = name;
    return program;
}

// Makes the program for the state's features current and gives it the state; false when there
// is none to draw with.
bool UseProgramFor(const DrawState& state) {
    const unsigned features = FeaturesOf(state);
    const Program& program = ProgramFor(features);
    if (program.name == 0) {
        return false;
    }
    Device& device = TheDevice();
    if (device.current != program.name) {
        emscripten_glUseProgram(program.name);
        device.current = program.name;
    }
    const Uniforms& u = program.uniforms;
    emscripten_glUniformMatrix4fv(u.modelView, 1, GL_FALSE, state.modelView.m.data());
    emscripten_glUniformMatrix4fv(u.projection, 1, GL_FALSE, state.projection.m.data());
    if ((features & kLighting) != 0) {
        const std::array<Vec3, 3> rows = NormalMatrix(state.modelView);
        float columns[9];
        for (unsigned row = 0; row < 3; ++row) {
            for (unsigned column = 0; column < 3; ++column) {
                columns[column * 3 + row] = rows[row][column];
            }
        }
        emscripten_glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, columns);
        emscripten_glUniform4fv(u.lightPosition, 1, state.light.eyePosition.data());
        emscripten_glUniform3fv(u.lightAmbient, 1, state.light.ambient.data());
        emscripten_glUniform3fv(u.lightDiffuse, 1, state.light.diffuse.data());
        emscripten_glUniform3fv(u.modelAmbient, 1, state.light.modelAmbient.data());
    }
    if ((features & kFog) != 0) {
        emscripten_glUniform1f(u.fogStart, state.fog.start);
        emscripten_glUniform1f(u.fogEnd, state.fog.end);
        emscripten_glUniform3fv(u.fogColor, 1, state.fog.color.data());
    }
    return true;
}

void PointAt(Attribute attribute, int size, int stride, int offset) {
    emscripten_glEnableVertexAttribArray(attribute);
    emscripten_glVertexAttribPointer(attribute, size, GL_FLOAT, GL_FALSE,
                                     stride * static_cast<int>(sizeof(float)),
                                     reinterpret_cast<const void*>(offset * sizeof(float)));
}

// The vertex buffer's kArrayFloats per vertex, and the current colour, for the shader.
void PointAtArrays(GLuint vertices, const DrawState& state) {
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertices);
    PointAt(kPosition, 3, kArrayFloats, 0);
    PointAt(kNormal, 3, kArrayFloats, 3);
    PointAt(kTexCoord, 2, kArrayFloats, 6);
    emscripten_glDisableVertexAttribArray(kColor);
    emscripten_glVertexAttrib4fv(kColor, state.color.data());
}

GLuint CreateBuffer(GLenum target, const void* data, std::size_t bytes) {
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(target, buffer);
    emscripten_glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    return buffer;
}

}  // namespace

namespace device {

bool Start() {
    Device& device = TheDevice();
    emscripten_glGenBuffers(1, &device.streamBuffer);
    emscripten_glGenBuffers(1, &device.streamIndices);
    // The program of the walk-through's own frames, built now so that a shader that does not
    // build shows at once.
    return ProgramFor(kFog).name != 0;
}

void DrawLitTriangles(const std::vector<float>& vertices, const DrawState& state) {
    if (vertices.empty() || !UseProgramFor(state)) {
        return;
    }
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, TheDevice().streamBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                            vertices.data(), GL_STREAM_DRAW);
    PointAt(kPosition, 3, kShadedFloats, 0);
    PointAt(kColor, 4, kShadedFloats, 3);
    PointAt(kTexCoord, 2, kShadedFloats, 7);
    emscripten_glDisableVertexAttribArray(kNormal);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / kShadedFloats));
}

std::uint32_t CreateVertexBuffer(const std::vector<float>& vertices) {
    return CreateBuffer(GL_ARRAY_BUFFER, vertices.data(), vertices.size() * sizeof(float));
}

std::uint32_t CreateIndexBuffer(const std::vector<std::uint16_t>& indices) {
    return CreateBuffer(GL_ELEMENT_ARRAY_BUFFER, indices.data(),
                        indices.size() * sizeof(std::uint16_t));
}

void DrawIndexed(std::uint32_t vertices, std::uint32_t indices, int indexCount,
                 const DrawState& state) {
    if (vertices == 0 || indices == 0 || indexCount <= 0 || !UseProgramFor(state)) {
        return;
    }
    PointAtArrays(vertices, state);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    emscripten_glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
}

void DrawSomeIndices(std::uint32_t vertices, const std::vector<std::uint16_t>& indices,
                     const DrawState& state) {
    if (vertices == 0 || indices.empty() || !UseProgramFor(state)) {
        return;
    }
    PointAtArrays(vertices, state);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, TheDevice().streamIndices);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint16_t)),
                            indices.data(), GL_STREAM_DRAW);
    emscripten_glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                              nullptr);
}

void DeleteBuffer(std::uint32_t buffer) {
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

std::vector<std::uint8_t> ReadPixels(int x, int y, int width, int height) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height) * 4);
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, 4);  // rows of RGBA are whole words anyway
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void UploadMipmapped(int width, int height, const std::vector<std::uint8_t>& rgba) {
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                            rgba.data());
    emscripten_glGenerateMipmap(GL_TEXTURE_2D);
}

}  // namespace device

}  // namespace webgl11
