#include "scene/Model.h"

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
