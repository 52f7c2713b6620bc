// make-fuzz-seeds DIR: writes the reader's test models, well-formed and damaged, into DIR as
// the fuzzer's seed corpus.
#include <cstdio>
#include <string>

#include "tests/reader/ModelCases.h"

namespace {

bool Write(const std::string& path, const test_models::Bytes& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "make-fuzz-seeds: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make-fuzz-seeds DIR\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    for (const test_models::ModelCase& model : test_models::ModelCases()) {
        ok = ok && Write(folder + "/" + model.name + ".3ds", model.bytes);
    }
    return ok ? 0 : 1;
}
