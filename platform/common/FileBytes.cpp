// Holding a model file's bytes whole: mapped on Linux, read into memory elsewhere (and wherever
// the mapping fails: an empty file, a file system without mappings).
#include <cstdint>
#include <new>

#include "platform/Platform.h"

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#include <unistd.h>
#define WALKTHROUGH_MAPS_FILES 1
#endif

namespace platform {

namespace {

FileBytes ReadFileBytes(std::FILE* file, std::size_t size) {
    FileBytes bytes;
    if (size == 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return bytes;
    }
    bytes.data = new (std::nothrow) unsigned char[size];
    if (bytes.data == nullptr) {
        return bytes;
    }
    PrefaultForWriting(bytes.data, size);
    bytes.size = std::fread(bytes.data, 1, size, file);
    return bytes;
}

}  // namespace

#ifdef WALKTHROUGH_MAPS_FILES

FileBytes HoldFileBytes(std::FILE* file, std::size_t size) {
    if (size == 0) {
        return {};
    }
    // Every page at once, from the page cache, as the reader walks the whole file front to
    // back; mapped for reading first, so that the pages stay the page cache's own, and then
    // made writable: a page is copied only when something is written to it.
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fileno(file), 0);
    if (mapped == MAP_FAILED) {
        return ReadFileBytes(file, size);
    }
    if (mprotect(mapped, size, PROT_READ | PROT_WRITE) != 0) {
        munmap(mapped, size);
        return ReadFileBytes(file, size);
    }
    FileBytes bytes;
    bytes.data = static_cast<unsigned char*>(mapped);
    bytes.size = size;
    bytes.mapped = true;
    return bytes;
}

void ReleaseFilePages(const FileBytes& bytes, std::size_t begin, std::size_t end) {
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (!bytes.mapped || pageSize <= 0 || end > bytes.size) {
        return;
    }
    const auto page = static_cast<std::size_t>(pageSize);
    const std::size_t first = (begin + page - 1) / page * page;  // the mapping starts on a page
    const std::size_t last = end / page * page;
    if (first < last) {
        madvise(bytes.data + first, last - first, MADV_DONTNEED);
    }
}

void DropFileBytes(FileBytes& bytes) {
    if (bytes.mapped) {
        munmap(bytes.data, bytes.size);
    } else {
        delete[] bytes.data;
    }
    bytes = {};
}

#else

FileBytes HoldFileBytes(std::FILE* file, std::size_t size) {
    return ReadFileBytes(file, size);
}

void ReleaseFilePages(const FileBytes&, std::size_t, std::size_t) {}

void DropFileBytes(FileBytes& bytes) {
    delete[] bytes.data;
    bytes = {};
}

#endif

}  // namespace platform
