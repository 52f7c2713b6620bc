// The one part of the GL subset that talks to WebGL: the shaders that do what OpenGL 1.1's
// fixed pipeline does for this program, the buffers they draw from, and the state WebGL keeps
// itself (depth, blending, textures). Everything else is plain C++ beside it.
#pragma once

#include <cstdint>
#include <vector>

#include "webgl11/Lighting.h"

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

// Builds the shader of the walk-through's frames; called once the WebGL context is current.
bool Start();
// Triangles of kShadedFloats per vertex, already lit.
void DrawLitTriangles(const std::vector<float>& vertices, const DrawState& state);
// Buffers kept on the GPU: vertices of kArrayFloats, lit there, and 16-bit indices into them.
std::uint32_t CreateVertexBuffer(const std::vector<float>& vertices);
std::uint32_t CreateIndexBuffer(const std::vector<std::uint16_t>& indices);
void DrawIndexed(std::uint32_t vertices, std::uint32_t indices, int indexCount,
                 const DrawState& state);
// Some indices into a vertex buffer, given for this draw only.
void DrawSomeIndices(std::uint32_t vertices, const std::vector<std::uint16_t>& indices,
                     const DrawState& state);
void DeleteBuffer(std::uint32_t buffer);

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
// The framebuffer's RGBA bytes over the rectangle, rows from the bottom.
std::vector<std::uint8_t> ReadPixels(int x, int y, int width, int height);
// Uploads a power-of-two RGBA image into the bound texture and builds its mipmaps.
void UploadMipmapped(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace device

}  // namespace webgl11
