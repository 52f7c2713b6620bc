// GPU copies of the client arrays the program draws from frame after frame with glDrawElements.
// The drawing says which arrays keep their contents (Fix, until Release): arrays and indices
// that lie in such regions are copied once, the first time they are drawn, and drawn from the
// copy after; any others are copied for the one draw. Copies not drawn for a while are dropped.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace webgl11 {

struct ArraysDrawn {
    const void* points = nullptr;
    const void* normals = nullptr;
    const void* texCoords = nullptr;
    const void* indices = nullptr;
    std::size_t count = 0;

    bool operator<(const ArraysDrawn& other) const {
        return std::tie(points, normals, texCoords, indices, count) <
               std::tie(other.points, other.normals, other.texCoords, other.indices, other.count);
    }
};

// The vertices the indices reach, and the indices.
struct CachedBuffer {
    std::uint32_t vertexBuffer = 0;
    std::uint32_t indexBuffer = 0;
    int indexCount = 0;
    std::uint64_t lastFrame = 0;
};

class ArrayBufferCache {
public:
    // The `bytes` from `begin` keep their contents until Release(begin).
    void Fix(const void* begin, std::size_t bytes);
    // The region from `begin` may change or go: its copies are dropped.
    void Release(const void* begin);
    // Whether every array drawn (and the indices) lies in a fixed region.
    bool IsFixed(const ArraysDrawn& arrays) const;

    // The copy of these fixed arrays, or null.
    const CachedBuffer* Find(const ArraysDrawn& arrays);
    void Add(const ArraysDrawn& arrays, const CachedBuffer& copy);
    // A copy of arrays that are not fixed, drawn once: dropped at the end of the frame.
    void AddForOneDraw(const CachedBuffer& copy);
    // Counts a frame and returns the buffers of copies released, drawn once, or not drawn for
    // kFramesKept frames, which the caller deletes.
    std::vector<std::uint32_t> EndFrame();

    static constexpr std::uint64_t kFramesKept = 120;

private:
    bool InFixedRegion(const void* at) const;
    void Drop(const CachedBuffer& copy);

    std::map<const char*, const char*> fixed_;  // begin to end
    std::map<ArraysDrawn, CachedBuffer> copies_;
    std::vector<std::uint32_t> dropped_;
    std::uint64_t frame_ = 0;
};

}  // namespace webgl11
