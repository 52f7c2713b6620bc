// Test helpers: a model file on disk for the Scene to read, and the lists it read.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "scene/Scene.h"
#include "tests/support/ModelFile.h"
#include "tools/model-info/MaterialReport.h"
#include "tools/model-info/ModelReport.h"

inline std::vector<const Mesh*> MeshList() {
    std::vector<const Mesh*> meshes;
    for (const Mesh* m = g_meshHead->next; m != nullptr; m = m->next) {
        meshes.push_back(m);
    }
    return meshes;
}

inline std::vector<const Material*> MaterialList(const Scene& scene) {
    std::vector<const Material*> list;
    for (const Material* m = scene.materials->next; m != nullptr; m = m->next) {
        list.push_back(m);
    }
    return list;
}

// What `print` writes to a file.
inline std::string Printed(const std::function<void(std::FILE*)>& print) {
    std::FILE* out = std::tmpfile();
    if (out == nullptr) {
        ADD_FAILURE() << "no temporary file";
        return {};
    }
    print(out);
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    return text;
}

// The inspector's canonical dump of the scene.
inline std::string DumpOf(const Scene& scene) {
    return Printed([&](std::FILE* out) { PrintDump(scene, out); });
}

// The reader's problems as "0x4110 at 28: body holds 2 of 5 vertices".
inline std::vector<std::string> ProblemsOf(const Scene& scene) {
    std::vector<std::string> lines;
    for (const ReadProblem& problem : scene.problems) {
        char head[48];
        std::snprintf(head, sizeof head, "0x%04X at %ld: ", problem.chunkId, problem.offset);
        lines.push_back(head + problem.what);
    }
    return lines;
}
