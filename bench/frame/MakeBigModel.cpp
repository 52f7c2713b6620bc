// make-big-model [--textured | --huge] OUT.3ds: writes the frame benchmark's model, for
// walkthrough-shot --bench; textured, its images go beside it. --huge writes the load
// benchmark's big model instead (140 meshes of 65,535 faces), for timing whole processes.
#include <cstdio>
#include <string>

#include "bench/LoadModel.h"
#include "bench/frame/BigModel.h"

int main(int argc, char** argv) {
    const std::string option = argc == 3 ? argv[1] : "";
    const bool textured = option == "--textured";
    const bool huge = option == "--huge";
    const char* path = argv[argc - 1];
    if ((argc != 2 && !textured && !huge) || path[0] == '-') {
        std::fputs("usage: make-big-model [--textured | --huge] OUT.3ds\n", stderr);
        return 2;
    }
    const bool written =
        huge ? WriteLoadModel(kHugeLoadModel, path) : WriteBigModel(path, textured);
    if (!written) {
        std::fprintf(stderr, "make-big-model: cannot write %s\n", path);
        return 1;
    }
    if (huge) {
        std::printf("make-big-model: wrote %s (%d meshes of %d faces)\n", path,
                    kHugeLoadModel.meshCount, kHugeLoadModel.facesPerMesh);
    } else {
        std::printf("make-big-model: wrote %s (%d meshes of %d faces%s)\n", path, kBigModelMeshes,
                    kBigModelFacesPerMesh, textured ? ", textured" : "");
    }
    return 0;
}
