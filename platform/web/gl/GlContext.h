// The state of the OpenGL 1.1 subset that WebGL does not keep: matrices, the light, the fog,
// the current vertex, the client arrays and the display lists.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/web/gl/ArrayBufferCache.h"
#include "platform/web/gl/ImmediateShading.h"
#include "platform/web/gl/MatrixState.h"
#include "platform/web/gl/WebGlDevice.h"

namespace webgl11 {

struct ClientArray {
    bool enabled = false;
    const float* data = nullptr;
    int size = 0;    // floats a vertex
    int stride = 0;  // floats between vertices
};

struct DisplayList {
    std::uint32_t buffer = 0;
    int vertexCount = 0;
    bool textured = false;
};

struct GlContext {
    MatrixState matrices;
    bool lighting = false;
    bool light0 = false;
    bool colorMaterial = false;
    bool normalize = false;
    bool texture2d = false;
    bool twoSided = false;
    bool flat = false;  // GL_FLAT; GL starts smooth
    LightState light;
    FogState fog;
    Vec4 clearColor{0.0f, 0.0f, 0.0f, 0.0f};
    float clearDepth = 1.0f;

    // The current vertex attributes and the open glBegin block.
    Vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    Vec3 normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoord{0.0f, 0.0f};
    bool inBlock = false;
    std::vector<ImmediateVertex> block;

    ClientArray vertexArray;
    ClientArray normalArray;
    ClientArray texCoordArray;

    ArrayBufferCache arrayCache;
    std::map<std::uint32_t, DisplayList> lists;
    std::uint32_t nextListName = 1;
    std::uint32_t compilingList = 0;  // 0: none is being compiled

    // The state a draw call hands the shader.
    DrawState Draw(bool litInShader, bool textured) const;
};

GlContext& Gl();

}  // namespace webgl11
