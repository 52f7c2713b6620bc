// libFuzzer target: any bytes as a model file. The reader must not crash, hang, read outside a
// buffer or leak, and what it loads must be usable: every count within the buffer that holds it.
// Each input is also the new body of one chunk inside a named object of a well-formed model
// (its first byte chooses the chunk): everything outside that object must load as from the
// whole model. The object's own body is not replaced: the top-level walk acts on what follows
// the object's first sub-chunk, wherever it is.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/Scene.h"
#include "tests/reader/ModelCases.h"
#include "tests/reader/ModelLists.h"
#include "tools/chunkwriter/ChunkTree.h"

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
        for (int i = 0; i < FaceCount(*mesh); ++i) {
            const std::uint16_t* record = FaceRecord(*mesh, i);
            const float* normal = mesh->normals + 3 * i;
            Require(IsDrawable(*mesh, i) ||
                    (normal[0] == 0.0f && normal[1] == 0.0f && normal[2] == 0.0f));
            sink = sink + normal[0] + normal[1] + normal[2] + record[3];
        }
        Require(mesh->materialColor == nullptr || IsMaterialColor(scene, mesh->materialColor));
    }
}

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, out) == size;
    return std::fclose(out) == 0 && written;
}

// Loads the file and checks what it holds; with `whole`, also that nothing outside mesh
// `damagedMesh` changed.
void LoadAndCheck(const std::string& path, std::size_t size, const ModelLists* whole = nullptr,
                  std::size_t damagedMesh = 0) {
    {
        Scene scene(path.c_str());
        CheckModel(scene, size);
        if (whole != nullptr) {
            Require(
                model_lists::OutsideUnchanged(*whole, model_lists::Of(scene), damagedMesh, size));
        }
    }
    Require(g_meshHead == nullptr);  // the release ran
}

// The well-formed model whose mesh chunks the inputs stand in for, as a tree and as read.
constexpr const char* kSeedModel = "well_formed_materials_and_the_groups_that_name_them";

struct Seed {
    std::vector<ChunkNode> tree;
    std::vector<chunk_tree::ObjectChunk> chunks;
    ModelLists whole;

    explicit Seed(const std::string& path) {
        test_models::Bytes bytes;
        for (const test_models::ModelCase& model : test_models::ModelCases()) {
            if (std::string(model.name) == kSeedModel) {
                bytes = model.bytes;
            }
        }
        tree = chunk_tree::Parse(bytes.data(), bytes.size());
        std::size_t objects = 0;
        chunk_tree::CollectObjectChunks(tree, chunks, objects);
        chunks.erase(std::remove_if(chunks.begin(), chunks.end(),
                                    [](const chunk_tree::ObjectChunk& c) {
                                        return c.node->id == chunk::kNamedObject;
                                    }),
                     chunks.end());
        Require(WriteFile(path, bytes.data(), bytes.size()));
        Scene scene(path.c_str());
        whole = model_lists::Of(scene);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    if (!WriteFile(path, data, size)) {
        return 0;
    }
    LoadAndCheck(path, size);

    static const Seed seed(path);
    if (size == 0) {
        return 0;
    }
    const chunk_tree::ObjectChunk& target = seed.chunks[data[0] % seed.chunks.size()];
    const std::vector<unsigned char> body(data + 1, data + size);
    const std::vector<unsigned char> damaged = chunk_tree::Bytes(seed.tree, target.node, &body);
    if (WriteFile(path, damaged.data(), damaged.size())) {
        LoadAndCheck(path, damaged.size(), &seed.whole, target.object);
    }
    return 0;
}
