// What a Scene read, flattened for comparison: each mesh and the materials byte for byte, and
// the check that damage inside one mesh left everything outside it as it was. Shared by the
// reader's tests and the fuzzer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/Scene.h"

struct ModelLists {
    std::vector<std::string> meshes;
    std::string materials;
    float scale;
    std::int32_t bytesRead;
    std::size_t problems;
};

namespace model_lists {

inline void Append(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}

// Everything the reader made of a mesh.
inline std::string Fingerprint(const Mesh& mesh) {
    std::string out = std::to_string(mesh.vertexCount) + "|" + mesh.materialName + "|";
    if (mesh.vertexCount > 0) {
        Append(out, mesh.vertices, 12 * static_cast<std::size_t>(mesh.vertexCount));
    }
    const int faces = FaceCount(mesh);
    out += "|" + std::to_string(faces) + "|";
    if (faces > 0) {
        Append(out, FaceRecord(mesh, 0), 8 * static_cast<std::size_t>(faces));
        Append(out, mesh.normals, 12 * static_cast<std::size_t>(faces));
    }
    if (mesh.materialColor != nullptr) {
        Append(out, mesh.materialColor, 12);
    }
    for (const Material* material : mesh.faceMaterials) {
        out += std::string("|") + (material != nullptr ? material->name : "-");
    }
    Append(out, mesh.textureCoords.data(), 4 * mesh.textureCoords.size());
    Append(out, mesh.smoothingGroups.data(), 4 * mesh.smoothingGroups.size());
    return out;
}

inline ModelLists Of(const Scene& scene) {
    ModelLists lists{{}, {}, scene.modelScale, scene.bytesRead, scene.problems.size()};
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        lists.meshes.push_back(Fingerprint(*mesh));
    }
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next) {
        lists.materials += std::string(m->name) + (m->hasColor ? "+" : "-");
        Append(lists.materials, m->color, sizeof m->color);
        lists.materials += m->textureFile + (m->twoSided ? "+" : "-");
        const float values[] = {m->uScale, m->vScale, m->uOffset, m->vOffset, m->transparency};
        Append(lists.materials, values, sizeof values);
    }
    return lists;
}

// True when `damaged`, read from a file of `size` bytes in which only the body of a chunk of
// mesh `k` differs from the file `whole` was read from, holds every other mesh (those before
// it at the front, those after it at the back), the same materials and scale, and was read
// to its end. What mesh k became, and any nodes its damaged body made, may differ.
inline bool OutsideUnchanged(const ModelLists& whole, const ModelLists& damaged, std::size_t k,
                             std::size_t size) {
    const std::size_t after = whole.meshes.size() - k - 1;  // meshes after mesh k
    return damaged.meshes.size() >= whole.meshes.size() && damaged.materials == whole.materials &&
           damaged.scale == whole.scale && damaged.bytesRead == static_cast<std::int32_t>(size) &&
           std::equal(whole.meshes.begin(), whole.meshes.begin() + k, damaged.meshes.begin()) &&
           std::equal(whole.meshes.end() - after, whole.meshes.end(), damaged.meshes.end() - after);
}

}  // namespace model_lists
