#include "webgl11/ArrayBufferCache.h"

#include <cstring>
#include <utility>

namespace webgl11 {

const CachedBuffer* ArrayBufferCache::Find(const ArraysDrawn& arrays, std::uint64_t fingerprint) {
    const auto found = copies_.find(arrays);
    if (found == copies_.end() || found->second.fingerprint != fingerprint) {
        return nullptr;
    }
    found->second.lastFrame = frame_;
    return &found->second;
}

void ArrayBufferCache::Add(const ArraysDrawn& arrays, const CachedBuffer& copy) {
    const auto found = copies_.find(arrays);
    if (found != copies_.end()) {  // the same arrays with new contents
        Drop(found->second);
    }
    CachedBuffer& entry = copies_[arrays];
    entry = copy;
    entry.lastFrame = frame_;
}

std::vector<std::uint32_t> ArrayBufferCache::EndFrame() {
    ++frame_;
    for (auto it = copies_.begin(); it != copies_.end();) {
        if (frame_ - it->second.lastFrame > kFramesKept) {
            Drop(it->second);
            it = copies_.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<std::uint32_t> dropped = std::move(dropped_);
    dropped_.clear();
    return dropped;
}

void ArrayBufferCache::Drop(const CachedBuffer& copy) {
    dropped_.push_back(copy.vertexBuffer);
    dropped_.push_back(copy.indexBuffer);
}

std::uint64_t Fingerprint(const std::vector<float>& values) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const float value : values) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int byte = 0; byte < 4; ++byte) {
            hash = (hash ^ ((bits >> (8 * byte)) & 0xFFu)) * 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace webgl11
