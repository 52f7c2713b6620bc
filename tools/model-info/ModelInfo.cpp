// model-info: loads a 3DS model with the walk-through's own reader and prints what it read.
//
//   model-info FILE          a summary and the problems the reader tolerated
//   model-info --dump FILE   the canonical dump of every value read
//
// Exit status: 0 when the file was read, 1 when it cannot be opened, 2 for bad usage.
#include <cstdio>
#include <cstring>

#include "scene/Scene.h"
#include "tools/model-info/ModelReport.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitCannotOpen = 1;
constexpr int kExitUsage = 2;

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: model-info FILE\n"
        "       model-info --dump FILE\n"
        "       model-info --help | --version\n"
        "Loads the 3DS model FILE as the walk-through does and prints a summary with the\n"
        "problems the reader tolerated, or with --dump every value it read.\n"
        "Exit status: 0 read, 1 cannot be opened, 2 bad usage.\n",
        out);
}

bool IsOption(const char* argument) {
    return argument[0] == '-' && argument[1] != '\0';
}

int Inspect(const char* modelPath, bool dump) {
    Scene scene(modelPath);  // destroyed before returning, so that the release runs too
    if (!scene.loaded) {
        std::fprintf(stderr, "model-info: cannot open %s\n", modelPath);
        return kExitCannotOpen;
    }
    if (dump) {
        PrintDump(scene, stdout);
    } else {
        PrintSummary(scene, modelPath, stdout);
    }
    return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return kExitRead;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("model-info %s\n", MODEL_INFO_VERSION);
        return kExitRead;
    }
    if (argc == 2 && !IsOption(argv[1])) {
        return Inspect(argv[1], false);
    }
    if (argc == 3 && std::strcmp(argv[1], "--dump") == 0) {
        return Inspect(argv[2], true);
    }
    PrintUsage(stderr);
    return kExitUsage;
}
