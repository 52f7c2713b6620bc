// Mapping a big fresh buffer's memory at once. Linux only; elsewhere pages fault in as usual.
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

void PrefaultForWriting(void* buffer, std::size_t bytes) {
    constexpr std::size_t kWorthPrefaulting = 64 * 1024;  // below, a few faults cost less
    if (buffer == nullptr || bytes < kWorthPrefaulting) {
        return;
    }
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return;
    }
    // Whole pages around the buffer: each is mapped already in part, by the buffer itself.
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto at = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = at / page * page;
    const std::uintptr_t end = (at + bytes + page - 1) / page * page;
    // Large pages where the buffer spans whole ones: a fault per 2 MiB rather than per 4 KiB.
    // Each call may fail (an older kernel, no large pages): the pages then fault in as usual.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

#else

void PrefaultForWriting(void*, std::size_t) {}

#endif

#if defined(__GLIBC__)
void GiveBackFreedMemory() {
    malloc_trim(0);
}
#else
void GiveBackFreedMemory() {}
#endif

}  // namespace platform
