// The state of the OpenGL 1.1 subset that WebGL does not keep: matrices, the light, the fog,
// the current vertex and the client arrays. The webgl11 room is a library of its own: it defines
// the GL 1.1 and GLU calls the program makes, over WebGL 1 (WebGlDevice.h), calls nothing of the
// program, and only the web backend links it.
#pragma once

#include <cstdint>
#include <vector>

#include "webgl11/ArrayBufferCache.h"
#include "webgl11/ImmediateShading.h"
#include "webgl11/MatrixState.h"
#include "webgl11/PixelSieve.h"
#include "webgl11/WebGlDevice.h"

namespace webgl11 {

struct ClientArray {
    bool enabled = false;
    const float* data = nullptr;
    int size = 0;    // floats a vertex
    int stride = 0;  // floats between vertices
};

struct GlContext {
    MatrixState matrices;
    bool lighting = false;
    bool light0 = false;
    bool colorMaterial = false;
    bool normalize = false;
    bool texture2d = false;
    bool twoSided = false;
    bool depthTest = false;  // WebGL keeps these two itself; kept here for glIsEnabled
    bool blend = false;
    bool flat = false;      // GL_FLAT; GL starts smooth
    int packAlignment = 4;  // glPixelStorei(GL_PACK_ALIGNMENT)
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
    Viewport viewport;
    PixelSieve pixelSieve;

    // The state a draw call hands the shader.
    DrawState Draw(bool litInShader, bool textured) const;
    // The switch glEnable, glDisable and glIsEnabled name with `capability`; null for one the
    // program does not use.
    bool* Switch(std::uint32_t capability);
};

GlContext& Gl();

}  // namespace webgl11
