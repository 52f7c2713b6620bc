// Mapping a big fresh buffer's memory at once, or asking for large pages for it. Linux only;
// elsewhere pages fault in as usual.
#include <cstdint>

#include "platform/Platform.h"

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

#if defined(__linux__) && !defined(__EMSCRIPTEN__) && defined(MADV_POPULATE_WRITE)

namespace {

constexpr std::size_t kWorthPrefaulting = 64 * 1024;  // below, a few faults cost less

// Whole pages around the buffer: each is mapped already in part, by the buffer itself. False
// when the buffer is too small to be worth it.
bool PagesAround(void* buffer, std::size_t bytes, void*& begin, std::size_t& length) {
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (buffer == nullptr || bytes < kWorthPrefaulting || pageSize <= 0) {
        return false;
    }
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto at = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = at / page * page;
    begin = reinterpret_cast<void*>(first);
    length = (at + bytes + page - 1) / page * page - first;
    return true;
}

}  // namespace

void PrefaultForWriting(void* buffer, std::size_t bytes) {
    void* begin = nullptr;
    std::size_t length = 0;
    if (!PagesAround(buffer, bytes, begin, length)) {
        return;
    }
    // Large pages where the buffer spans whole ones: a fault per 2 MiB rather than per 4 KiB.
    // Each call may fail (an older kernel, no large pages): the pages then fault in as usual.
    madvise(begin, length, MADV_HUGEPAGE);
    madvise(begin, length, MADV_POPULATE_WRITE);
}

void PreferLargePages(void* buffer, std::size_t bytes) {
    void* begin = nullptr;
    std::size_t length = 0;
    if (PagesAround(buffer, bytes, begin, length)) {
        madvise(begin, length, MADV_HUGEPAGE);
    }
}

#else

void PrefaultForWriting(void*, std::size_t) {}
void PreferLargePages(void*, std::size_t) {}

#endif

#if defined(__GLIBC__)
void GiveBackFreedMemory() {
    malloc_trim(0);
}
#else
void GiveBackFreedMemory() {}
#endif

}  // namespace platform
