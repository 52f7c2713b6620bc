// A bounding-volume hierarchy over the walkable faces of a model, built once when the model is
// opened, so that each frame's collision and floor tests look at the few faces near the body.
//
// Compact by design (the index of a 1.2-million-face model must stay under half its file): a
// node is 16 bytes, its box six 16-bit steps of a grid over the whole model (rounded outwards,
// so a node's box always holds its faces), and a leaf names at most kLeafFaces faces by their
// 32-bit numbers in WorldFaces. Faces are referenced, never copied.
#pragma once

#include <cstdint>
#include <vector>

#include "walk/Vector.h"
#include "walk/WorldFaces.h"

class FaceIndex {
public:
    // Builds over the walkable faces of `faces`, which must outlive the index.
    explicit FaceIndex(const WorldFaces& faces);

    // Calls visit(corners) for every indexed face whose box meets `box`: the corners of a face
    // in the world. Each such face is visited once; no other face is.
    template <class Visit>
    void ForEachFaceNear(const Box3& box, Visit&& visit) const;

    // The box of every indexed face (empty without one).
    const Box3& Bounds() const { return bounds_; }
    std::size_t IndexedFaces() const { return faceIds_.size(); }
    // The bytes the index holds.
    std::size_t Bytes() const;

    static constexpr std::uint32_t kLeafFaces = 16;

private:
    struct Node {
        std::uint16_t low[3];
        std::uint16_t high[3];
        // An inner node's first child follows it; bits 0-26 hold its second child's place. A
        // leaf holds its face count (1..kLeafFaces) in bits 27-31 and its first entry in
        // faceIds_ in bits 0-26.
        std::uint32_t link;
    };
    static constexpr std::uint32_t kPlaceBits = 27;
    static constexpr std::uint32_t kPlaceMask = (1u << kPlaceBits) - 1;

    // Builds the subtree over faceIds_[begin, end) at nodes_.back() and returns its exact box.
    Box3 Build(std::size_t begin, std::size_t end);
    void Quantise(const Box3& box, std::uint16_t low[3], std::uint16_t high[3]) const;

    const WorldFaces& faces_;
    Box3 bounds_;
    Vec3 step_{1.0, 1.0, 1.0};  // the grid's step on each axis
    std::vector<Node> nodes_;
    std::vector<std::uint32_t> faceIds_;  // in the leaves' order
};

template <class Visit>
void FaceIndex::ForEachFaceNear(const Box3& box, Visit&& visit) const {
    if (nodes_.empty() || box.Empty() || !box.Overlaps(bounds_)) {
        return;
    }
    std::uint16_t low[3];
    std::uint16_t high[3];
    Quantise(box, low, high);
    // A tree halved at every level over at most 2^27 faces is at most 24 levels deep.
    std::uint32_t stack[64];
    int depth = 0;
    std::uint32_t at = 0;
    for (;;) {
        const Node& node = nodes_[at];
        const bool meets = node.low[0] <= high[0] && low[0] <= node.high[0] &&
                           node.low[1] <= high[1] && low[1] <= node.high[1] &&
                           node.low[2] <= high[2] && low[2] <= node.high[2];
        const std::uint32_t count = node.link >> kPlaceBits;
        if (meets && count == 0) {
            stack[depth++] = node.link & kPlaceMask;
            ++at;
            continue;
        }
        if (meets) {
            const std::uint32_t first = node.link & kPlaceMask;
            for (std::uint32_t i = first; i < first + count; ++i) {
                Vec3 corners[3];
                faces_.Corners(faceIds_[i], corners);
                Box3 faceBox;
                for (const Vec3& corner : corners) {
                    faceBox.Add(corner);
                }
                if (faceBox.Overlaps(box)) {
                    visit(static_cast<const Vec3*>(corners));
                }
            }
        }
        if (depth == 0) {
            return;
        }
        at = stack[--depth];
    }
}
