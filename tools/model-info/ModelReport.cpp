#include "tools/model-info/ModelReport.h"

#include "placement/UpAxis.h"
#include "placement/ViewFit.h"
#include "scene/Scene.h"
#include "tools/model-info/MaterialReport.h"

namespace {

void PrintFloat(std::FILE* out, float value) {
    std::fprintf(out, "%.9g", value);
}

void PrintColor(std::FILE* out, const float* color) {
    std::fputs(" color=", out);
    if (color == nullptr) {
        std::fputs("unset", out);
        return;
    }
    PrintFloat(out, color[0]);
    std::fputc(' ', out);
    PrintFloat(out, color[1]);
    std::fputc(' ', out);
    PrintFloat(out, color[2]);
}

void PrintMesh(std::FILE* out, int index, const Mesh& mesh) {
    std::fprintf(out, "mesh %d vertices=%d faces=%d material=%s", index, mesh.vertexCount,
                 FaceCount(mesh), mesh.materialName);
    PrintColor(out, mesh.materialColor);
    std::fputc('\n', out);
    for (int i = 0; i < mesh.vertexCount; ++i) {
        float xyz[3];
        ReadVertex(mesh, i, xyz);
        std::fputs("  v ", out);
        PrintFloat(out, xyz[0]);
        std::fputc(' ', out);
        PrintFloat(out, xyz[1]);
        std::fputc(' ', out);
        PrintFloat(out, xyz[2]);
        std::fputc('\n', out);
    }
    for (int i = 0; i < FaceCount(mesh); ++i) {
        const std::uint16_t* record = FaceRecord(mesh, i);
        const float* normal = mesh.normals + 3 * i;
        std::fprintf(out, "  f %u %u %u %u n ", record[0], record[1], record[2], record[3]);
        PrintFloat(out, normal[0]);
        std::fputc(' ', out);
        PrintFloat(out, normal[1]);
        std::fputc(' ', out);
        PrintFloat(out, normal[2]);
        std::fputc('\n', out);
    }
}

void PrintTriple(std::FILE* out, const char* label, const double xyz[3]) {
    std::fprintf(out, "%-13s%.9g %.9g %.9g\n", label, xyz[0], xyz[1], xyz[2]);
}

// The box the model is drawn in: the file's coordinates times the master scale.
void PrintDrawnBox(const Scene& scene, std::FILE* out) {
    const ModelBox box = MeasureDrawnModel(g_meshHead, scene.modelScale);
    if (box.empty) {
        std::fputs("box          empty: no face can be drawn\n", out);
        return;
    }
    const double size[3] = {box.Extent(0), box.Extent(1), box.Extent(2)};
    PrintTriple(out, "box minimum", box.min);
    PrintTriple(out, "box maximum", box.max);
    PrintTriple(out, "box size", size);
}

// The cameras as the file gives them, before the master scale.
void PrintCameras(const Scene& scene, std::FILE* out) {
    std::fprintf(out, "cameras      %zu\n", scene.cameras.size());
    for (const ModelCamera& camera : scene.cameras) {
        std::fprintf(out, "  %s: position %.9g %.9g %.9g target %.9g %.9g %.9g\n",
                     camera.name.c_str(), camera.position[0], camera.position[1],
                     camera.position[2], camera.target[0], camera.target[1], camera.target[2]);
    }
}

}  // namespace

void PrintSummary(const Scene& scene, const char* modelPath, std::FILE* out) {
    int materialCount = 0;
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next) {
        ++materialCount;
    }
    int meshCount = 0;
    long vertexCount = 0;
    long faceCount = 0;
    for (const Mesh* m = g_meshHead->next; m != nullptr; m = m->next) {
        ++meshCount;
        vertexCount += m->vertexCount;
        faceCount += FaceCount(*m);
    }
    std::fprintf(out, "model        %s\n", modelPath);
    std::fprintf(out, "loaded       %d\n", scene.loaded);
    std::fprintf(out, "model scale  %.9g\n", scene.modelScale);
    std::fprintf(out, "bytes read   %d\n", scene.bytesRead);
    std::fprintf(out, "materials    %d\n", materialCount);
    PrintTextureFiles(scene, modelPath, out);
    std::fprintf(out, "meshes       %d\n", meshCount);
    PrintMeshMaterialCounts(out);
    std::fprintf(out, "vertices     %ld\n", vertexCount);
    std::fprintf(out, "faces        %ld\n", faceCount);
    PrintDrawnBox(scene, out);
    if (LooksYUp(g_meshHead)) {
        std::fputs("up           looks like y: walkthrough --up y stands it upright\n", out);
    }
    PrintCameras(scene, out);
    std::fprintf(out, "problems     %zu\n", scene.problems.size());
    for (const ReadProblem& problem : scene.problems) {
        std::fprintf(out, "  chunk 0x%04X at offset %ld: %s\n", problem.chunkId, problem.offset,
                     problem.what.c_str());
    }
}

void PrintDump(const Scene& scene, std::FILE* out) {
    std::fprintf(out, "loaded %d\n", scene.loaded);
    std::fputs("modelScale ", out);
    PrintFloat(out, scene.modelScale);
    std::fprintf(out, "\nbytesRead %d\n", scene.bytesRead);
    int index = 0;
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next, ++index) {
        std::fprintf(out, "material %d name=%s", index, m->name);
        PrintColor(out, m->hasColor ? m->color : nullptr);
        std::fputc('\n', out);
    }
    index = 0;
    for (const Mesh* m = g_meshHead->next; m != nullptr; m = m->next, ++index) {
        PrintMesh(out, index, *m);
    }
}
