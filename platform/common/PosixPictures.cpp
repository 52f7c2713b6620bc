// The Linux desktop's part of saving pictures: the XDG pictures folder, libpng's encoder, and
// files created with O_EXCL, so that a file that appeared meanwhile is never replaced.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/common/DesktopPictures.h"
#include "platform/common/PngFile.h"

namespace platform::pictures {

namespace {

std::string SystemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

}  // namespace

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string SystemPicturesFolder(std::string& why) {
    const std::string folder = XdgPicturesFolder(EnvironmentValue, [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    });
    if (folder.empty()) {
        why = "no home folder (HOME is not set)";
    }
    return folder;
}

bool MakeFolders(const std::string& folder, std::string& why) {
    // Each folder on the way, from the top; one that exists already is passed.
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            why = SystemError(part);
            return false;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        why = folder + ": not a folder";
        return false;
    }
    return true;
}

bool EncodePicture(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& png,
                   std::string& why) {
    return EncodePng(rgb, width, height, png, why);
}

NewFile CreateNewFileWith(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          std::string& why) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) {
        if (errno == EEXIST) {
            return NewFile::kExists;
        }
        why = SystemError(path);
        return NewFile::kFailed;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = write(file, bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            why = SystemError(path);
            close(file);
            unlink(path.c_str());  // no half picture left behind
            return NewFile::kFailed;
        }
        written += static_cast<std::size_t>(step);
    }
    if (close(file) != 0) {
        why = SystemError(path);
        unlink(path.c_str());
        return NewFile::kFailed;
    }
    return NewFile::kCreated;
}

}  // namespace platform::pictures
