// The one part of the GL subset that talks to WebGL: the shader that does what OpenGL 1.1's
// fixed pipeline does for this program, the buffers it draws from, and the state WebGL keeps
// itself (depth, blending, textures). Everything else is plain C++ beside it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/web/gl/Lighting.h"

namespace webgl11 {

struct FogState {
    bool enabled = false;
    float start = 0.0f;
    float end = 1.0f;
    Vec4 color{0.0f, 0.0f, 0.0f, 0.0f};
};

// What a draw call needs of the fixed-function state.
struct DrawState {
    Matrix4 modelView;
    Matrix4 projection;
    bool lighting = false;  // lit in the shader (arrays); immediate blocks arrive lit
    bool normalize = false;
    bool twoSided = false;
    LightState light;
    FogState fog;
    bool textured = false;
    Vec4 color{1.0f, 1.0f, 1.0f, 1.0f};  // the current colour, for arrays without colours
};

constexpr int kArrayFloats = 8;  // x y z, nx ny nz, s t

namespace device {

// Compiles the shader; called once the WebGL context is current.
bool Start();
// Triangles of kShadedFloats per vertex, already lit.
void DrawLitTriangles(const std::vector<float>& vertices, const DrawState& state);
// A buffer of kArrayFloats per vertex kept on the GPU, lit there.
std::uint32_t CreateArrayBuffer(const std::vector<float>& vertices);
void DrawArrayBuffer(std::uint32_t buffer, int vertexCount, const DrawState& state);
void DeleteArrayBuffer(std::uint32_t buffer);
// kArrayFloats per vertex, drawn once.
void DrawStreamedArrays(const std::vector<float>& vertices, const DrawState& state);

// WebGL's own state, with OpenGL's enumerants (WebGL shares their values).
void Clear(std::uint32_t mask, const Vec4& color, float depth);
void Viewport(int x, int y, int width, int height);
void SetCapability(std::uint32_t capability, bool on);
void DepthMask(bool on);
void BlendFunc(std::uint32_t source, std::uint32_t destination);
std::uint32_t CreateTexture();
void DeleteTexture(std::uint32_t texture);
void BindTexture(std::uint32_t texture);
void TextureParameter(std::uint32_t name, int value);
// Uploads a power-of-two RGBA image into the bound texture and builds its mipmaps.
void UploadMipmapped(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace device

}  // namespace webgl11
