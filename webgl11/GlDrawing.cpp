// The OpenGL 1.1 calls of the program that draw: glBegin/glEnd blocks of triangles, lit here
// and drawn at glEnd; client arrays drawn with glDrawElements, copied into GPU buffers with their
// indices (once for the arrays the drawing keeps fixed: ArrayBufferCache.h), lit in the shader.
#include <GL/gl.h>

#include <algorithm>

#include "webgl11/GlContext.h"

using webgl11::Gl;

namespace {

// kArrayFloats for each vertex that `vertexAt` names (count of them): the vertex array's points,
// the normal array's normals (or the current normal) and the texture coordinates (or zeros).
// Empty when the vertex array is unusable.
template <class VertexAt>
std::vector<float> GatherArrays(const VertexAt& vertexAt, std::size_t count) {
    const webgl11::GlContext& gl = Gl();
    const webgl11::ClientArray& points = gl.vertexArray;
    if (count == 0 || !points.enabled || points.data == nullptr || points.size < 3) {
        return {};
    }
    const auto element = [](const webgl11::ClientArray& array, std::size_t vertex,
                            std::size_t component) {
        const std::size_t stride =
            static_cast<std::size_t>(array.stride > 0 ? array.stride : array.size);
        return array.data[vertex * stride + component];
    };
    const bool normals = gl.normalArray.enabled && gl.normalArray.data != nullptr;
    const bool texCoords =
        gl.texCoordArray.enabled && gl.texCoordArray.data != nullptr && gl.texCoordArray.size >= 2;
    std::vector<float> vertices;
    vertices.reserve(count * webgl11::kArrayFloats);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t v = vertexAt(i);
        for (std::size_t c = 0; c < 3; ++c) {
            vertices.push_back(element(points, v, c));
        }
        for (std::size_t c = 0; c < 3; ++c) {
            vertices.push_back(normals ? element(gl.normalArray, v, c) : gl.normal[c]);
        }
        for (std::size_t c = 0; c < 2; ++c) {
            vertices.push_back(texCoords ? element(gl.texCoordArray, v, c) : 0.0f);
        }
    }
    return vertices;
}

webgl11::ClientArray* ArrayOf(GLenum kind) {
    switch (kind) {
        case GL_VERTEX_ARRAY:
            return &Gl().vertexArray;
        case GL_NORMAL_ARRAY:
            return &Gl().normalArray;
        case GL_TEXTURE_COORD_ARRAY:
            return &Gl().texCoordArray;
        default:
            return nullptr;
    }
}

void Point(GLenum kind, GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    webgl11::ClientArray* array = ArrayOf(kind);
    if (array == nullptr || type != GL_FLOAT || stride < 0 ||
        stride % static_cast<GLsizei>(sizeof(float)) != 0) {
        return;
    }
    array->data = static_cast<const float*>(data);
    array->size = size;
    array->stride = stride / static_cast<GLsizei>(sizeof(float));
}

// Draws `count` indices into the client arrays from a GPU copy of the vertices the indices reach
// and of the indices: made the first time fixed arrays are drawn and kept, or made for this draw
// alone. Triangles that cover no pixel centre are left out.
void DrawElementsOf(const GLushort* indices, std::size_t count) {
    webgl11::GlContext& gl = Gl();
    webgl11::ArrayBufferCache& cache = gl.arrayCache;
    const bool textured = gl.texCoordArray.enabled;
    const webgl11::ArraysDrawn arrays{gl.vertexArray.data,
                                      gl.normalArray.enabled ? gl.normalArray.data : nullptr,
                                      textured ? gl.texCoordArray.data : nullptr, indices, count};
    const bool fixed = cache.IsFixed(arrays);
    const webgl11::DrawState state = gl.Draw(true, textured);
    const webgl11::CachedBuffer* copy = fixed ? cache.Find(arrays) : nullptr;
    webgl11::CachedBuffer onceOnly;
    if (copy == nullptr) {
        const std::size_t reached = std::size_t{*std::max_element(indices, indices + count)} + 1;
        const std::vector<float> vertices = GatherArrays([](std::size_t i) { return i; }, reached);
        if (vertices.empty()) {
            return;
        }
        const webgl11::CachedBuffer made{webgl11::device::CreateVertexBuffer(vertices),
                                         webgl11::device::CreateIndexBuffer(
                                             std::vector<std::uint16_t>(indices, indices + count)),
                                         static_cast<int>(count), 0};
        if (fixed) {
            cache.Add(arrays, made);
            copy = cache.Find(arrays);
        } else {
            cache.AddForOneDraw(made);
            onceOnly = made;
            copy = &onceOnly;
        }
    }
    const webgl11::ClientArray& points = gl.vertexArray;
    const std::vector<std::uint16_t>& kept =
        gl.pixelSieve.Keep(points.data, points.stride > 0 ? points.stride : points.size, indices,
                           count, state.projection, state.modelView, gl.viewport);
    if (kept.size() == count) {
        webgl11::device::DrawIndexed(copy->vertexBuffer, copy->indexBuffer, copy->indexCount,
                                     state);
    } else {
        webgl11::device::DrawSomeIndices(copy->vertexBuffer, kept, state);
    }
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
    webgl11::GlContext& gl = Gl();
    gl.inBlock = mode == GL_TRIANGLES;
    gl.block.clear();
}

void glEnd() {
    webgl11::GlContext& gl = Gl();
    if (!gl.inBlock) {
        return;
    }
    gl.inBlock = false;
    webgl11::ShadingInputs inputs;
    inputs.modelView = gl.matrices.ModelView();
    inputs.lighting = gl.lighting && gl.light0;
    inputs.normalize = gl.normalize;
    inputs.flat = gl.flat;
    inputs.light = gl.light;
    webgl11::device::DrawLitTriangles(webgl11::ShadeTriangles(gl.block, inputs),
                                      gl.Draw(false, true));
    gl.block.clear();
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    Gl().color = {red, green, blue, 1.0f};
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    Gl().color = {red, green, blue, alpha};
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    Gl().normal = {x, y, z};
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    Gl().texCoord = {s, t};
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    webgl11::GlContext& gl = Gl();
    if (gl.inBlock) {
        gl.block.push_back({{x, y, z}, gl.normal, gl.color, gl.texCoord});
    }
}

void glEnableClientState(GLenum kind) {
    if (webgl11::ClientArray* array = ArrayOf(kind)) {
        array->enabled = true;
    }
}

void glDisableClientState(GLenum kind) {
    if (webgl11::ClientArray* array = ArrayOf(kind)) {
        array->enabled = false;
    }
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    Point(GL_VERTEX_ARRAY, size, type, stride, data);
}

void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* data) {
    Point(GL_NORMAL_ARRAY, 3, type, stride, data);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    Point(GL_TEXTURE_COORD_ARRAY, size, type, stride, data);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    if (mode == GL_TRIANGLES && type == GL_UNSIGNED_SHORT && count > 0 && indices != nullptr) {
        DrawElementsOf(static_cast<const GLushort*>(indices), static_cast<std::size_t>(count));
    }
}

}  // extern "C"
