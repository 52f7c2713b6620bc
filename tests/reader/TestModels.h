// Model files for the reader's tests and the fuzzer's seed corpus, built with the chunk writer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

namespace test_models {

using Bytes = std::vector<unsigned char>;

// The main chunk around the editor chunk around whatever `contents` writes.
inline Bytes EditorFile(const std::function<void(ChunkWriter&)>& contents) {
    ChunkWriter w;
    w.BeginModel();
    contents(w);
    w.EndModel();
    return w.bytes();
}

const std::vector<float> kUnitTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

// An unknown chunk whose body, were it walked instead of skipped, would be an unreadable
// header: a reader that does not skip it lists a problem.
inline void UnknownChunk(ChunkWriter& w, std::uint16_t id) {
    w.Begin(id);
    w.U32(0xDEADBEEF);
    w.End();
}

// The smallest complete model, 143 bytes: scale 1, a material Red of colour (1, 0, 0), and a
// mesh Box with one triangle whose material group names Red.
inline Bytes RedTriangle() {
    return EditorFile([](ChunkWriter& w) {
        w.MasterScale(1.0f);
        w.Material("Red", 255, 0, 0);
        w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {"Red"}});
    });
}

}  // namespace test_models
