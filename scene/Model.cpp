#include "scene/Model.h"

#include <cstring>

Mesh* g_meshHead = nullptr;
Mesh* g_meshCursor = nullptr;

Mesh* NewEmptyMesh() {
    Mesh* mesh = new Mesh;
    mesh->vertexCount = 0;
    mesh->vertices = nullptr;
    mesh->faces = nullptr;
    mesh->materialColor = nullptr;
    mesh->normals = nullptr;
    mesh->materialName[0] = '\0';
    mesh->next = nullptr;
    return mesh;
}

Material* NewEmptyMaterial() {
    Material* material = new Material;
    material->name[0] = '\0';
    material->color[0] = material->color[1] = material->color[2] = 0.0f;
    material->hasColor = false;
    material->next = nullptr;
    return material;
}

void ReadVertex(const Mesh& mesh, int index, float xyz[3]) {
    std::memcpy(xyz, mesh.vertices + 12 * static_cast<long>(index), 3 * sizeof(float));
}
