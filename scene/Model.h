// The two lists that make up a loaded model. Each list starts with a sentinel node that
// carries no data; meshes stand in file order, materials newest first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "scene/FaceMaterials.h"

constexpr int kNameCapacity = 256;  // 255 bytes and the terminating zero

struct Material {
    char name[kNameCapacity];
    float color[3];  // diffuse red, green, blue in 0..1
    bool hasColor;
    Material* next;

    // Read for drawing a model as its author made it; the walk-through's own drawing uses the
    // colour alone.
    std::string textureFile;  // diffuse texture map 1's file name as written; empty: no map
    // The map's scale and offset of the mapping coordinates: u' = u * uScale + uOffset.
    float uScale = 1.0f, vScale = 1.0f, uOffset = 0.0f, vOffset = 0.0f;
    float transparency = 0.0f;  // 0 opaque to 1 invisible
    bool twoSided = false;
};

// The box of a mesh's vertices as the reader measured it: low and high per axis; empty when no
// vertex counts.
struct MeshBoxAsRead {
    bool measured = false;
    bool empty = true;
    float low[3] = {0.0f, 0.0f, 0.0f};
    float high[3] = {0.0f, 0.0f, 0.0f};
};

struct Mesh {
    // Vertex count of the vertex list read; 0 until one is read.
    std::int32_t vertexCount;
    // x, y, z floats per vertex, two bytes into the vertex-list body in the model file's bytes,
    // which the scene holds while the model is loaded. The floats are not 4-byte aligned: read
    // them with std::memcpy. Null until a vertex list is read.
    unsigned char* vertices;
    // Face records: word 0 the face count, then per face three vertex indices and the flags
    // word, as in the file; in the file's bytes where the face list lies on a 16-bit boundary,
    // else a buffer the mesh owns. Null until a face list is read.
    std::uint16_t* faces;
    // The colour of the matched material (not owned), or null when no material matched or the
    // material has no colour: such a mesh is drawn white.
    const float* materialColor;
    // Owned unit normal per face, x, y, z. Null until a face list is read.
    float* normals;
    char materialName[kNameCapacity];
    Mesh* next;

    // Read for drawing a model as its author made it:
    // per face, the material of the last group that named it and matched, null for a face in
    // no such group (it keeps the mesh's colour); empty when no group matched.
    FaceMaterials faceMaterials;
    // Mapping coordinates, u and v per vertex, as the file holds them (its count may differ
    // from the vertex count: only coordinates for every vertex texture the mesh).
    std::vector<float> textureCoords;
    // Per face, its smoothing-group bits (0: the face keeps its own normal); empty when the
    // mesh has none, or fewer than its faces.
    std::vector<std::uint32_t> smoothingGroups;
    // The box of the vertices its drawable faces name, in the file's units, measured as the
    // mesh was read for laying out (without face normals); not measured otherwise. Nothing
    // keeps it true once the vertices move.
    MeshBoxAsRead boxAsRead;
};

// A camera object of the model file: where it stands and the point it looks at, in the file's
// units (before the master scale).
struct ModelCamera {
    std::string name;
    float position[3];
    float target[3];
};

// Creates a node with every field empty: no vertices, faces, normals or material.
Mesh* NewEmptyMesh();
Material* NewEmptyMaterial();

// Reads vertex `index` of `mesh` into xyz; the caller guarantees index < vertexCount. Inline
// and one float at a time: drawing and the face normals of loading call it three times per
// face, and an out-of-line call or a 12-byte copy through memory halves loading big models.
inline void ReadVertex(const Mesh& mesh, int index, float xyz[3]) {
    const unsigned char* at = mesh.vertices + 12 * static_cast<std::size_t>(index);
    std::memcpy(&xyz[0], at, sizeof(float));
    std::memcpy(&xyz[1], at + 4, sizeof(float));
    std::memcpy(&xyz[2], at + 8, sizeof(float));
}

// The faces of a mesh: the count, a face's record (three vertex indices and the flags word),
// and whether a face can be drawn, which it can when its three indices name vertices the mesh
// has. Drawing, the normals and every tool decide this here and nowhere else.
inline int FaceCount(const Mesh& mesh) {
    return mesh.faces != nullptr ? mesh.faces[0] : 0;
}
inline const std::uint16_t* FaceRecord(const Mesh& mesh, int face) {
    return mesh.faces + 1 + 4 * static_cast<std::size_t>(face);
}
inline bool IsDrawable(const Mesh& mesh, int face) {
    const std::uint16_t* record = FaceRecord(mesh, face);
    return record[0] < mesh.vertexCount && record[1] < mesh.vertexCount &&
           record[2] < mesh.vertexCount;
}

// One unit normal per face of faces [first, end) of `mesh`, written to normals + 3 * face, from
// the cross product of its edges u = P2 - P1 and v = P3 - P2, rounded to float step by step. A
// face whose cross product is exactly zero keeps the zero normal, and so does a face that names
// a vertex the mesh does not have. Returns the number of faces of that second kind. Loading
// computes them so (scene/ObjectReader.cpp), and so does a drawing that computes its own.
int ComputeFaceNormals(const Mesh& mesh, int first, int end, float* normals) noexcept;
// The normal of one face, so computed; false (and the zero normal) for a face that names a
// vertex the mesh does not have.
bool ComputeFaceNormal(const Mesh& mesh, int face, float normal[3]) noexcept;

// Globals of the mesh list: the sentinel head, and the node being appended to, drawn or
// released. The cursor is null after a drawing pass.
extern Mesh* g_meshHead;
extern Mesh* g_meshCursor;
