#include "images/TextureFolder.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "scene/AsciiCase.h"
#include "scene/FileOpen.h"

namespace {

namespace fs = std::filesystem;

// The name after the last '/' or '\': modelling programs on Windows may write a whole path.
std::string LastComponent(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

std::optional<std::vector<std::string>> ListFolder(const std::string& utf8Folder) {
    try {
        std::error_code error;
        fs::directory_iterator it(PathFromUtf8(utf8Folder.empty() ? "." : utf8Folder.c_str()),
                                  error);
        if (error) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
            names.push_back(it->path().filename().u8string());
        }
        return names;
    } catch (const std::exception&) {
        // A name that is no valid path on this system (bytes that are not UTF-8 on Windows).
        return std::nullopt;
    }
}

TextureFolder::TextureFolder(const std::string& modelPath, FolderLister lister)
    : lister_(std::move(lister)) {
    try {
        folder_ = PathFromUtf8(modelPath.c_str()).parent_path().u8string();
    } catch (const std::exception&) {
        folder_.clear();
        listed_ = true;  // a path that is not valid here finds nothing
    }
}

void TextureFolder::ListOnce() {
    if (listed_) {
        return;
    }
    listed_ = true;
    const std::optional<std::vector<std::string>> names = lister_(folder_);
    listable_ = names.has_value();
    if (names) {
        for (const std::string& name : *names) {
            index_[LowerAscii(name)].push_back(name);
        }
    }
}

std::string TextureFolder::PathOf(const std::string& name) const {
    try {
        return (PathFromUtf8(folder_.c_str()) / PathFromUtf8(name.c_str())).u8string();
    } catch (const std::exception&) {
        return {};
    }
}

bool TextureFolder::IsFile(const std::string& name) const {
    std::error_code ignored;
    try {
        const fs::path folder = PathFromUtf8(folder_.empty() ? "." : folder_.c_str());
        return fs::is_regular_file(folder / PathFromUtf8(name.c_str()), ignored);
    } catch (const std::exception&) {
        return false;
    }
}

std::string TextureFolder::Find(const std::string& fileName) {
    const std::string name = LastComponent(fileName);
    if (name.empty() || name == "." || name == "..") {
        return {};
    }
    ListOnce();
    const std::string lower = LowerAscii(name);
    if (!listable_) {
        // A folder that cannot be listed may still let a known name be opened.
        for (const std::string& tried : {name, lower}) {
            if (IsFile(tried)) {
                return PathOf(tried);
            }
        }
        return {};
    }
    const auto found = index_.find(lower);
    if (found == index_.end()) {
        return {};
    }
    const std::vector<std::string>& spellings = found->second;
    for (const std::string& spelling : spellings) {
        if (spelling == name && IsFile(spelling)) {
            return PathOf(spelling);
        }
    }
    for (const std::string& spelling : spellings) {
        if (IsFile(spelling)) {
            return PathOf(spelling);
        }
    }
    return {};
}
