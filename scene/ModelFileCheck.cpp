#include "scene/ModelFileCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "scene/ChunkIds.h"
#include "scene/FileOpen.h"

namespace {

ModelFileProblem CannotOpen(int error) {
    return {ModelFileProblem::Kind::CannotOpen, std::strerror(error)};
}

ModelFileProblem NotA3dsModel(const std::string& reason) {
    return {ModelFileProblem::Kind::NotA3dsModel, reason};
}

}  // namespace

std::optional<ModelFileProblem> CheckModelFile(const std::string& path) {
    // fopen succeeds on a directory on some systems, so that is asked first.
    std::error_code ignored;
    if (std::filesystem::is_directory(PathFromUtf8(path.c_str()), ignored)) {
        return NotA3dsModel("it is a directory");
    }
    errno = 0;
    std::FILE* file = OpenForReading(path.c_str());
    if (file == nullptr) {
        return CannotOpen(errno != 0 ? errno : ENOENT);
    }
    unsigned char first[2] = {0, 0};
    const std::size_t got = std::fread(first, 1, sizeof first, file);
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0) {
        return CannotOpen(readError);
    }
    if (got < sizeof first) {
        return NotA3dsModel("it is shorter than a chunk identifier");
    }
    const unsigned id = first[0] | (first[1] << 8u);  // little-endian, as every 3DS number
    if (id != chunk::kMain) {
        char reason[80];
        std::snprintf(reason, sizeof reason, "it begins with 0x%04X, not the main chunk 0x%04X", id,
                      chunk::kMain);
        return NotA3dsModel(reason);
    }
    return std::nullopt;
}

std::string DescribeModelFileProblem(const std::string& path, const ModelFileProblem& problem) {
    if (problem.kind == ModelFileProblem::Kind::CannotOpen) {
        return "cannot open " + path + ": " + problem.reason;
    }
    return path + " is not a 3DS model: " + problem.reason;
}
