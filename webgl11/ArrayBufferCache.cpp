#include "webgl11/ArrayBufferCache.h"

#include <utility>

namespace webgl11 {

namespace {

const char* Byte(const void* at) {
    return static_cast<const char*>(at);
}

}  // namespace

void ArrayBufferCache::Fix(const void* begin, std::size_t bytes) {
    if (begin != nullptr && bytes > 0) {
        fixed_[Byte(begin)] = Byte(begin) + bytes;
    }
}

void ArrayBufferCache::Release(const void* begin) {
    const auto region = fixed_.find(Byte(begin));
    if (region == fixed_.end()) {
        return;
    }
    const auto within = [&region](const void* at) {
        return at != nullptr && Byte(at) >= region->first && Byte(at) < region->second;
    };
    for (auto it = copies_.begin(); it != copies_.end();) {
        const ArraysDrawn& arrays = it->first;
        if (within(arrays.points) || within(arrays.normals) || within(arrays.texCoords) ||
            within(arrays.indices)) {
            Drop(it->second);
            it = copies_.erase(it);
        } else {
            ++it;
        }
    }
    fixed_.erase(region);
}

bool ArrayBufferCache::InFixedRegion(const void* at) const {
    auto region = fixed_.upper_bound(Byte(at));
    if (region == fixed_.begin()) {
        return false;
    }
    --region;
    return Byte(at) < region->second;
}

bool ArrayBufferCache::IsFixed(const ArraysDrawn& arrays) const {
    for (const void* at : {arrays.points, arrays.normals, arrays.texCoords, arrays.indices}) {
        if (at != nullptr && !InFixedRegion(at)) {
            return false;
        }
    }
    return arrays.points != nullptr && arrays.indices != nullptr;
}

const CachedBuffer* ArrayBufferCache::Find(const ArraysDrawn& arrays) {
    const auto found = copies_.find(arrays);
    if (found == copies_.end()) {
        return nullptr;
    }
    found->second.lastFrame = frame_;
    return &found->second;
}

void ArrayBufferCache::Add(const ArraysDrawn& arrays, const CachedBuffer& copy) {
    const auto found = copies_.find(arrays);
    if (found != copies_.end()) {
        Drop(found->second);
    }
    CachedBuffer& entry = copies_[arrays];
    entry = copy;
    entry.lastFrame = frame_;
}

void ArrayBufferCache::AddForOneDraw(const CachedBuffer& copy) {
    Drop(copy);
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

}  // namespace webgl11
