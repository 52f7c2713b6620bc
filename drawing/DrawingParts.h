// A batch's faces laid out in parts of some thousands of faces, each with its bounding box, in
// vertex arrays that share a vertex between the faces that can share it, so that a frame can
// leave out the parts it cannot see. No GL here.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "scene/Model.h"

// Faces per part, at most: small enough that a part mostly out of view is rarely drawn, large
// enough that a frame tests only some hundreds of parts of a million-face model, and few
// enough that a part's vertices are counted in 16 bits.
constexpr std::size_t kMaxFacesPerPart = 4096;

// A batch's faces in file order, numbered from 0, held as runs of faces that follow one another
// in a mesh (mostly a mesh's faces are one run or a few).
class BatchFaces {
public:
    struct Run {
        std::uint32_t mesh;       // the mesh's place in the file, counted from 0
        std::uint32_t firstFace;  // in the mesh
        std::uint32_t faceCount;
        std::uint32_t firstNumber;  // of the batch's numbering
    };

    // Appends `count` faces of a mesh from `face` on, after every face added so far (the
    // file's order).
    void Add(std::uint32_t mesh, std::uint32_t face, std::uint32_t count = 1) {
        if (runs_.empty() || runs_.back().mesh != mesh ||
            runs_.back().firstFace + runs_.back().faceCount != face) {
            runs_.push_back({mesh, face, 0, count_});
        }
        runs_.back().faceCount += count;
        count_ += count;
    }
    std::uint32_t Count() const { return count_; }
    const std::vector<Run>& Runs() const { return runs_; }
    // The run that face `number` is in.
    std::size_t RunOf(std::uint32_t number) const;

private:
    std::vector<Run> runs_;
    std::uint32_t count_ = 0;
};

// Allocates as std::allocator does, and leaves new elements of a plain type as they come: the
// laid-out arrays and the faces placed for splitting are sized once and then written whole,
// without being zeroed first.
template <class T>
struct UnfilledAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <class U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
template <class T>
using LaidOutArray = std::vector<T, UnfilledAllocator<T>>;

// A face to be drawn: where it is (the sum of its corners, which orders faces as their centres
// do) and its number in its batch.
struct PlacedFace {
    float centre[3];
    std::uint32_t number;
};

struct FaceRange {
    std::size_t begin, end;
};

// The smallest box around faces' centres, grown face by face (a NaN coordinate passed over);
// +inf..-inf around none.
struct CentreBox {
    float low[3] = {INFINITY, INFINITY, INFINITY};
    float high[3] = {-INFINITY, -INFINITY, -INFINITY};

    void Add(const float centre[3]) {
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = centre[axis] < low[axis] ? centre[axis] : low[axis];
            high[axis] = high[axis] < centre[axis] ? centre[axis] : high[axis];
        }
    }
    // The box of these faces and then `later`'s, in that order.
    void Add(const CentreBox& later) {
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = later.low[axis] < low[axis] ? later.low[axis] : low[axis];
            high[axis] = high[axis] < later.high[axis] ? later.high[axis] : high[axis];
        }
    }
};

enum class PartOrder {
    kSpatial,   // each part the faces of one region: the batch halved along its longest side
    kFileOrder  // each part the next faces in the file
};

// Room for splitting faces into parts, kept from one batch to the next.
struct SplitScratch {
    LaidOutArray<PlacedFace> faces;
    LaidOutArray<std::uint32_t> cells;
};

// Puts `count` faces (numbered in file order, in that order) into parts of at most `maxFaces`
// and returns the parts in drawing order, as ranges of `faces`, whose numbers are then in
// drawing order (their centres not). The faces of a part keep the file's order, and so do the
// parts (by their first face), so that faces at the same depth win as they do drawn straight
// from the file. The centres are read for a spatial order only. `scratch` (when given) is kept
// from one call to the next; `box` (when given) is the box of the faces' centres.
std::vector<FaceRange> SplitIntoParts(PlacedFace* faces, std::size_t count, PartOrder partOrder,
                                      std::size_t maxFaces = kMaxFacesPerPart,
                                      SplitScratch* scratch = nullptr,
                                      const CentreBox* box = nullptr);

struct DrawingPart {
    float min[3];
    float max[3];
    std::size_t firstVertex;  // into the arrays' vertices
    std::size_t firstCorner;  // into corners
    std::size_t cornerCount;
};

// A batch's parts and the arrays they are drawn from.
struct PartArrays {
    LaidOutArray<float> positions;  // x, y, z per vertex
    LaidOutArray<float> normals;    // x, y, z per vertex
    LaidOutArray<float> texCoords;  // u, v per vertex, when textured
    // Three per face: vertices counted from the part's first.
    LaidOutArray<std::uint16_t> corners;
    std::vector<DrawingPart> parts;
};

// Where the file's vertices go before they are drawn (as the model was placed): stood upright,
// (x, y, z) to (x, -z, y), the face normals with them; then moved by -centre in double
// precision and stored as float.
struct VertexPlacement {
    bool upright = false;
    bool centred = false;
    double centre[3] = {0.0, 0.0, 0.0};

    void Place(float xyz[3]) const {
        if (upright) {
            Turn(xyz);
        }
        if (centred) {
            for (int axis = 0; axis < 3; ++axis) {
                xyz[axis] = static_cast<float>(static_cast<double>(xyz[axis]) - centre[axis]);
            }
        }
    }
    void Turn(float xyz[3]) const {
        const float y = xyz[1];
        xyz[1] = -xyz[2];
        xyz[2] = y;
    }
};

// How a batch's faces are drawn.
struct PartShading {
    // Corner normals from smoothing groups, by mesh (nine floats per face), shaded smoothly;
    // null: flat, each face lit once with its own normal at its last corner, as GL's flat
    // shading does, so that its other corners may be shared with neighbouring faces.
    const std::vector<std::vector<float>>* smoothNormals = nullptr;
    // The textured material, whose map scale and offset apply to the mapping coordinates;
    // null: untextured.
    const Material* texture = nullptr;
};

// Lays out parts in their batch's arrays, the parts shared between two threads. Flat faces are
// lit with their normals computed as the reader computes them, from the file's coordinates.
class PartLayout {
public:
    // `meshes` in file order, as BatchFaces counts them.
    PartLayout(const std::vector<const Mesh*>& meshes, const VertexPlacement& placement);
    ~PartLayout();
    PartLayout(const PartLayout&) = delete;
    PartLayout& operator=(const PartLayout&) = delete;

    // Lays out the parts of `faces` (ranges of `placed`, which names them by number) in
    // `arrays`, which are sized once, exactly.
    void Write(const BatchFaces& faces, const PlacedFace* placed,
               const std::vector<FaceRange>& parts, const PartShading& shading, PartArrays& arrays);

private:
    class Writer;
    const std::vector<const Mesh*>& meshes_;
    VertexPlacement placement_;
    std::unique_ptr<Writer> writers_[2];  // by thread, made when first needed
};
