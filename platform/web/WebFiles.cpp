// Files the user opens in the page: the page writes the picked or dropped files into one new
// folder of the in-memory file system (textures beside their model) and names the model here,
// which becomes the seam's drop message.
#include <emscripten/emscripten.h>

#include <map>

#include "platform/web/WebInternal.h"

namespace platform {
namespace {

struct Drops {
    std::map<std::uintptr_t, std::string> paths;
    std::uintptr_t next = 1;
};

Drops& TheDrops() {
    static Drops drops;
    return drops;
}

}  // namespace

std::string TakeDroppedFile(std::uintptr_t drop) {
    Drops& drops = TheDrops();
    const auto found = drops.paths.find(drop);
    if (found == drops.paths.end()) {
        return {};
    }
    std::string path = std::move(found->second);
    drops.paths.erase(found);
    return path;
}

}  // namespace platform

// Called by the page's script with the model's path in the in-memory file system.
extern "C" EMSCRIPTEN_KEEPALIVE void walkthrough_open_file(const char* path) {
    if (path == nullptr || *path == '\0') {
        return;
    }
    platform::Drops& drops = platform::TheDrops();
    const std::uintptr_t drop = drops.next++;
    drops.paths[drop] = path;
    platform::web::PostToWindow(platform::kMessageDropFiles, drop, 0);
}
