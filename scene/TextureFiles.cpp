#include "scene/TextureFiles.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "scene/AsciiCase.h"
#include "scene/FileOpen.h"

namespace {

namespace fs = std::filesystem;

// The name after the last '/' or '\': modelling programs on Windows may write a whole path.
std::string LastComponent(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool IsFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

std::string Found(const fs::path& folder, const fs::path& name) {
    return (folder / name).u8string();
}

}  // namespace

std::string FindTextureFile(const std::string& modelPath, const std::string& fileName) {
    const std::string name = LastComponent(fileName);
    if (name.empty() || name == "." || name == "..") {
        return {};
    }
    // A name that is no valid path on this system (bytes that are not UTF-8 on Windows) is
    // found nowhere.
    try {
        const fs::path folder = PathFromUtf8(modelPath.c_str()).parent_path();
        const fs::path listed = folder.empty() ? fs::path(".") : folder;
        // The name as written first, so that of files differing only in case it is the one;
        // the folder's own spelling of the name is returned, also where the file system does
        // not tell case apart.
        const std::string wanted = LowerAscii(name);
        std::string sameButCase;
        std::error_code error;
        for (fs::directory_iterator it(listed, error), end; !error && it != end;
             it.increment(error)) {
            const fs::path entry = it->path().filename();
            const std::string entryName = entry.u8string();
            if (LowerAscii(entryName) != wanted || !IsFile(it->path())) {
                continue;
            }
            if (entryName == name) {
                return Found(folder, entry);
            }
            if (sameButCase.empty()) {
                sameButCase = Found(folder, entry);
            }
        }
        if (!sameButCase.empty()) {
            return sameButCase;
        }
        // A folder that cannot be listed may still let a known name be opened.
        if (IsFile(listed / PathFromUtf8(name.c_str()))) {
            return Found(folder, PathFromUtf8(name.c_str()));
        }
        if (IsFile(listed / PathFromUtf8(wanted.c_str()))) {
            return Found(folder, PathFromUtf8(wanted.c_str()));
        }
    } catch (const std::exception&) {
    }
    return {};
}
