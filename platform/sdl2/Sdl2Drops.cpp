// Files dropped on the window. SDL hands over each path with its event; the path waits here,
// under the id its drop message carries, until the window procedure takes it.
#include <map>
#include <utility>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

std::map<std::uintptr_t, std::string> g_drops;
std::uintptr_t g_lastDrop = 0;

}  // namespace

std::uintptr_t KeepDroppedFile(std::string path) {
    g_drops.emplace(++g_lastDrop, std::move(path));
    return g_lastDrop;
}

}  // namespace platform::sdl2

namespace platform {

std::string TakeDroppedFile(std::uintptr_t drop) {
    const auto found = sdl2::g_drops.find(drop);
    if (found == sdl2::g_drops.end()) {
        return {};  // never dropped, or taken before
    }
    std::string path = std::move(found->second);
    sdl2::g_drops.erase(found);
    return path;
}

}  // namespace platform
