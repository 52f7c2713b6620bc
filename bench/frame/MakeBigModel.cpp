// make-big-model [--textured] OUT.3ds: writes the frame benchmark's model, for
// walkthrough-shot --bench; textured, its images go beside it.
#include <cstdio>
#include <string>

#include "bench/frame/BigModel.h"

int main(int argc, char** argv) {
    const bool textured = argc == 3 && std::string(argv[1]) == "--textured";
    const char* path = argv[argc - 1];
    if ((argc != 2 && !textured) || path[0] == '-') {
        std::fputs("usage: make-big-model [--textured] OUT.3ds\n", stderr);
        return 2;
    }
    if (!WriteBigModel(path, textured)) {
        std::fprintf(stderr, "make-big-model: cannot write %s\n", path);
        return 1;
    }
    std::printf("make-big-model: wrote %s (%d meshes of %d faces%s)\n", path, kBigModelMeshes,
                kBigModelFacesPerMesh, textured ? ", textured" : "");
    return 0;
}
