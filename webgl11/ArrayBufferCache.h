// GPU copies of the client arrays the program draws from frame after frame with glDrawElements:
// the same arrays and indices at the same addresses, with the same contents, are uploaded once. The
// contents are told apart by a fingerprint of sampled vertices, so a new model's arrays at an old
// model's addresses are not taken for the old ones. Copies not drawn for a while are dropped.
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
    std::uint64_t fingerprint = 0;
    std::uint64_t lastFrame = 0;
};

class ArrayBufferCache {
public:
    // The copy of these arrays with this fingerprint, or null.
    const CachedBuffer* Find(const ArraysDrawn& arrays, std::uint64_t fingerprint);
    void Add(const ArraysDrawn& arrays, const CachedBuffer& copy);
    // Counts a frame and returns the buffers of copies replaced or not drawn for kFramesKept
    // frames, which the caller deletes.
    std::vector<std::uint32_t> EndFrame();

    static constexpr std::uint64_t kFramesKept = 120;

private:
    void Drop(const CachedBuffer& copy);

    std::map<ArraysDrawn, CachedBuffer> copies_;
    std::vector<std::uint32_t> dropped_;
    std::uint64_t frame_ = 0;
};

// FNV-1a over the floats' bits.
std::uint64_t Fingerprint(const std::vector<float>& values);

}  // namespace webgl11
