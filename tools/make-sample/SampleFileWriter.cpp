#include "tools/make-sample/SampleFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace {

std::string WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        return "cannot write " + path.string() + ": " +
               (errno != 0 ? std::strerror(errno) : "write failed");
    }
    return "";
}

}  // namespace

std::string WriteSampleFiles(const std::filesystem::path& directory,
                             const std::vector<SampleFile>& files, bool replace) {
    if (!replace) {
        for (const SampleFile& file : files) {
            std::error_code ignored;
            if (std::filesystem::exists(directory / file.name, ignored)) {
                return (directory / file.name).string() + " is already there; --force replaces it";
            }
        }
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        return "cannot create " + directory.string() + ": " + error.message();
    }
    for (const SampleFile& file : files) {
        const std::string failure = WriteBytes(directory / file.name, file.bytes);
        if (!failure.empty()) {
            return failure;
        }
    }
    return "";
}
