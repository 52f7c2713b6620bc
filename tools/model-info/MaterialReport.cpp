#include "tools/model-info/MaterialReport.h"

#include <algorithm>
#include <string>

#include "images/TextureFolder.h"
#include "scene/Scene.h"

namespace {

// Mapping coordinates are drawn only when there is one for every vertex.
bool CoordinatesCoverVertices(const Mesh& mesh) {
    return mesh.vertexCount > 0 &&
           mesh.textureCoords.size() / 2 >= static_cast<std::size_t>(mesh.vertexCount);
}

template <typename Test>
bool AnyFaceMaterial(const Mesh& mesh, Test test) {
    return std::any_of(mesh.faceMaterials.begin(), mesh.faceMaterials.end(),
                       [&](const Material* m) { return m != nullptr && test(*m); });
}

bool IsTextured(const Mesh& mesh) {
    return CoordinatesCoverVertices(mesh) &&
           AnyFaceMaterial(mesh, [](const Material& m) { return !m.textureFile.empty(); });
}

bool IsTransparent(const Mesh& mesh) {
    return AnyFaceMaterial(mesh, [](const Material& m) { return m.transparency > 0.0f; });
}

bool IsSmoothed(const Mesh& mesh) {
    return std::any_of(mesh.smoothingGroups.begin(), mesh.smoothingGroups.end(),
                       [](std::uint32_t mask) { return mask != 0; });
}

void PrintMaterial(std::FILE* out, int index, const Material& m) {
    std::fprintf(out, "material %d name=%s color=", index, m.name);
    if (m.hasColor) {
        std::fprintf(out, "%.9g %.9g %.9g", m.color[0], m.color[1], m.color[2]);
    } else {
        std::fputs("unset", out);
    }
    std::fprintf(out,
                 " texture=%s scale=%.9g %.9g offset=%.9g %.9g transparency=%.9g "
                 "two-sided=%d\n",
                 m.textureFile.c_str(), m.uScale, m.vScale, m.uOffset, m.vOffset, m.transparency,
                 m.twoSided ? 1 : 0);
}

void PrintMeshMaterials(std::FILE* out, int index, const Mesh& mesh) {
    const bool perFace = !mesh.faceMaterials.empty();
    const bool smoothing = !mesh.smoothingGroups.empty();
    std::fprintf(out, "mesh %d coordinates=%zu materials=%s smoothing=%s\n", index,
                 mesh.textureCoords.size() / 2, perFace ? "per-face" : "none",
                 smoothing ? "per-face" : "none");
    for (std::size_t i = 0; i + 1 < mesh.textureCoords.size(); i += 2) {
        std::fprintf(out, "  t %.9g %.9g\n", mesh.textureCoords[i], mesh.textureCoords[i + 1]);
    }
    if (!perFace && !smoothing) {
        return;
    }
    for (int face = 0; face < FaceCount(mesh); ++face) {
        std::fprintf(out, "  f %d", face);
        if (perFace) {
            const Material* m = mesh.faceMaterials[face];
            std::fprintf(out, " material=%s", m != nullptr ? m->name : "-");
        }
        if (smoothing) {
            std::fprintf(out, " smoothing=0x%X", mesh.smoothingGroups[face]);
        }
        std::fputc('\n', out);
    }
}

}  // namespace

void PrintTextureFiles(const Scene& scene, const char* modelPath, std::FILE* out) {
    TextureFolder folder(modelPath);
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next) {
        if (m->textureFile.empty()) {
            continue;
        }
        const std::string found = folder.Find(m->textureFile);
        std::fprintf(out, "  %s: texture %s, %s%s\n", m->name, m->textureFile.c_str(),
                     found.empty() ? "not found beside the model" : "found as ", found.c_str());
    }
}

void PrintMeshMaterialCounts(std::FILE* out) {
    int textured = 0, transparent = 0, smoothed = 0;
    for (const Mesh* m = g_meshHead->next; m != nullptr; m = m->next) {
        textured += IsTextured(*m);
        transparent += IsTransparent(*m);
        smoothed += IsSmoothed(*m);
    }
    std::fprintf(out, "textured     %d\ntransparent  %d\nsmoothed     %d\n", textured, transparent,
                 smoothed);
}

void PrintMaterialDump(const Scene& scene, std::FILE* out) {
    int index = 0;
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next, ++index) {
        PrintMaterial(out, index, *m);
    }
    index = 0;
    for (const Mesh* m = g_meshHead->next; m != nullptr; m = m->next, ++index) {
        PrintMeshMaterials(out, index, *m);
    }
}
