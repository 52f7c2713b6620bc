// libFuzzer target: any bytes as a model file. The reader must not crash, hang, read outside a
// buffer or leak, and what it loads must be usable: every count within the buffer that holds it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/Scene.h"

namespace {

// The file each input is written to for the Scene to read; removed when the fuzzer exits.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path = std::string(folder) + "/fuzz-reader-" + std::to_string(getpid()) + ".3ds";
    }
    ~ScratchFile() { std::remove(path.c_str()); }
};

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

bool IsMaterialColor(const Scene& scene, const float* color) {
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next) {
        if (color == m->color) {
            return m->hasColor;
        }
    }
    return false;
}

// Touches every value the drawing would, so that the sanitizers see a count that overstates
// its buffer.
void CheckModel(const Scene& scene, std::size_t fileSize) {
    Require(scene.loaded == 1);
    Require(scene.bytesRead >= 0 && static_cast<std::size_t>(scene.bytesRead) <= fileSize);
    volatile float sink = 0.0f;
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        Require(mesh->vertexCount >= 0);
        Require(mesh->vertexCount == 0 || mesh->vertices != nullptr);
        for (int i = 0; i < mesh->vertexCount; ++i) {
            float xyz[3];
            ReadVertex(*mesh, i, xyz);
            sink = sink + xyz[0] + xyz[1] + xyz[2];
        }
        Require((mesh->faces == nullptr) == (mesh->normals == nullptr));
        const int faceCount = mesh->faces != nullptr ? mesh->faces[0] : 0;
        for (int i = 0; i < faceCount; ++i) {
            const std::uint16_t* record = mesh->faces + 1 + 4 * i;
            const float* normal = mesh->normals + 3 * i;
            const bool drawable = record[0] < mesh->vertexCount && record[1] < mesh->vertexCount &&
                                  record[2] < mesh->vertexCount;
            Require(drawable || (normal[0] == 0.0f && normal[1] == 0.0f && normal[2] == 0.0f));
            sink = sink + normal[0] + normal[1] + normal[2] + record[3];
        }
        Require(mesh->materialColor == nullptr || IsMaterialColor(scene, mesh->materialColor));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, out) == size;
    if (std::fclose(out) != 0 || !written) {
        return 0;
    }
    {
        Scene scene(path.c_str());
        CheckModel(scene, size);
    }
    Require(g_meshHead == nullptr);  // the release ran
    return 0;
}
