// A bounding-volume hierarchy over the walkable faces of a model, built once when the model is
// opened, so that each frame's collision and floor tests look at the few faces near the body.
//
// Its leaves are runs of up to 32 faces that follow one another in the file and lie
// close together (no farther apart than the faces laid end to end): modelling programs write a
// mesh's faces mostly in such runs, so the faces are neither copied nor listed one by one, and
// building takes one pass over them and a sort of the runs. A file of faces in random order
// gets runs of one face, still correct and quick to search, in more memory.
//
// A node is 16 bytes: its box in six 16-bit steps of a grid over the model (rounded outwards,
// so a node's box always holds its faces) and one 32-bit link.
#pragma once

#include <cstdint>
#include <vector>

#include "walk/Vector.h"
#include "walk/WorldFaces.h"

class FaceIndex {
public:
    // Builds over the faces of `faces` with finite corners; `faces` must outlive the index.
    explicit FaceIndex(const WorldFaces& faces);

    // Calls visit(corners) for every walkable face (WorldFaces::Walkable) whose box meets
    // `box`: the corners of a face in the world. Each such face is visited once; no other is.
    template <class Visit>
    void ForEachFaceNear(const Box3& box, Visit&& visit) const;

    // The box of every indexed face (empty without one), and their number.
    const Box3& Bounds() const { return bounds_; }
    std::size_t IndexedFaces() const { return indexedFaces_; }
    // The bytes the index holds.
    std::size_t Bytes() const { return sizeof(*this) + nodes_.capacity() * sizeof(Node); }

    // Up to kLeafFaces faces in a row, the leaves' contents: faces first .. first + count - 1.
    static constexpr std::uint32_t kLeafFaces = 32;
    struct Run {
        MeshBox box;
        std::uint32_t first;
        std::uint32_t count;
    };

private:
    struct Node {
        std::uint16_t low[3];
        std::uint16_t high[3];
        // An inner node's first child follows it, and bits 0-25 hold its second child's place.
        // A leaf holds its face count (1..kLeafFaces) in bits 26-31 and its first face's number
        // in bits 0-25.
        std::uint32_t link;
    };
    static constexpr std::uint32_t kPlaceBits = 26;
    static constexpr std::uint32_t kPlaceMask = (1u << kPlaceBits) - 1;

    // Lays out the tree over the runs order[begin, end) (low 32 bits) at the end of nodes_.
    void Build(const std::vector<Run>& runs, const std::vector<std::uint64_t>& order,
               std::size_t begin, std::size_t end);
    void Quantise(const Box3& box, std::uint16_t low[3], std::uint16_t high[3]) const;

    const WorldFaces& faces_;
    Box3 bounds_;
    std::size_t indexedFaces_ = 0;
    Vec3 gridStep_{1.0, 1.0, 1.0};  // of the grid over bounds_
    std::vector<Node> nodes_;
};

template <class Visit>
void FaceIndex::ForEachFaceNear(const Box3& box, Visit&& visit) const {
    if (nodes_.empty() || box.Empty() || !box.Overlaps(bounds_)) {
        return;
    }
    std::uint16_t low[3];
    std::uint16_t high[3];
    Quantise(box, low, high);
    // A tree halved at every level over at most 2^25 leaves is at most 26 levels deep.
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
            faces_.ForEachFace(node.link & kPlaceMask, count,
                               [&](std::uint32_t, const Vec3* corners) {
                                   Box3 faceBox;
                                   for (int i = 0; i < 3; ++i) {
                                       faceBox.Add(corners[i]);
                                   }
                                   if (faceBox.Overlaps(box) && WorldFaces::Walkable(corners)) {
                                       visit(corners);
                                   }
                               });
        }
        if (depth == 0) {
            return;
        }
        at = stack[--depth];
    }
}
