// A batch's faces laid out in parts of some thousands of faces, each with its bounding box, in
// vertex arrays that share a vertex between the faces that can share it, so that a frame can
// leave out the parts it cannot see. No GL here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "scene/Model.h"

// Faces per part, at most: small enough that a part mostly out of view is rarely drawn, large
// enough that a frame tests only some hundreds of parts of a million-face model, and few
// enough that a part's vertices are counted in 16 bits.
constexpr std::size_t kMaxFacesPerPart = 4096;

// A face to be drawn: where it is (the sum of its corners, which orders faces as their centres
// do), its mesh's place in the file and its index in the mesh.
struct PlacedFace {
    float centre[3];
    std::uint32_t mesh;
    std::uint32_t face;
};

struct FaceRange {
    std::size_t begin, end;
};

enum class PartOrder {
    kSpatial,   // each part the faces of one region: the batch halved along its longest side
    kFileOrder  // each part the next faces in the file
};

// Puts `count` faces (in file order) into parts of at most `maxFaces` and returns the parts in
// drawing order. The faces of a part keep the file's order, and so do the parts (by their first
// face), so that faces at the same depth win as they do drawn straight from the file.
std::vector<FaceRange> SplitIntoParts(PlacedFace* faces, std::size_t count, PartOrder order,
                                      std::size_t maxFaces = kMaxFacesPerPart);

struct DrawingPart {
    float min[3];
    float max[3];
    std::size_t firstVertex;  // into the arrays' vertices
    std::size_t firstCorner;  // into corners
    std::size_t cornerCount;
};

// A batch's parts and the arrays they are drawn from.
struct PartArrays {
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> normals;    // x, y, z per vertex
    std::vector<float> texCoords;  // u, v per vertex, when textured
    // Three per face: vertices counted from the part's first.
    std::vector<std::uint16_t> corners;
    std::vector<DrawingPart> parts;
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

// Lays out parts in their batch's arrays, the parts shared between two threads.
class PartLayout {
public:
    // `meshes` in file order, as PlacedFace::mesh counts them.
    explicit PartLayout(const std::vector<const Mesh*>& meshes);
    ~PartLayout();
    PartLayout(const PartLayout&) = delete;
    PartLayout& operator=(const PartLayout&) = delete;

    // Lays out the parts of `faces` in `arrays`, which are sized once, exactly.
    void Write(const PlacedFace* faces, const std::vector<FaceRange>& parts,
               const PartShading& shading, PartArrays& arrays);

private:
    class Writer;
    std::vector<const Mesh*> meshes_;
    std::unique_ptr<Writer> writers_[2];  // by thread, made when first needed
};
