// make-big-model OUT.3ds: writes the frame benchmark's model, for walkthrough-shot --bench.
#include <cstdio>

#include "bench/frame/BigModel.h"

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs("usage: make-big-model OUT.3ds\n", stderr);
        return 2;
    }
    if (!WriteBigModel(argv[1])) {
        std::fprintf(stderr, "make-big-model: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make-big-model: wrote %s (%d meshes of %d faces)\n", argv[1], kBigModelMeshes,
                kBigModelFacesPerMesh);
    return 0;
}
