#include "drawing/DrawingParts.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

#include "platform/Platform.h"
#include "scene/SecondThread.h"

namespace {

// Room for `count` elements in large pages, which the threads that fill them map as they go:
// the mapping is shared by both rather than done first on one. The elements are written before
// they are read.
template <class T, class Allocator>
void ReserveLarge(std::vector<T, Allocator>& values, std::size_t count) {
    values.reserve(count);
    platform::PreferLargePages(values.data(), count * sizeof(T));
}

void MeasureBox(const LaidOutArray<float>& positions, std::size_t first, std::size_t end,
                DrawingPart& part) {
    std::fill(part.min, part.min + 3, std::numeric_limits<float>::infinity());
    std::fill(part.max, part.max + 3, -std::numeric_limits<float>::infinity());
    for (std::size_t vertex = first; vertex < end; ++vertex) {
        for (int axis = 0; axis < 3; ++axis) {
            part.min[axis] = std::min(part.min[axis], positions[3 * vertex + axis]);
            part.max[axis] = std::max(part.max[axis], positions[3 * vertex + axis]);
        }
    }
}

// A grid over a box of centres: its cells along each side, and where a face falls.
struct Grid {
    float low[3];
    float scale[3];  // cells per unit of length
    int cells[3] = {1, 1, 1};

    std::size_t CellCount() const {
        return static_cast<std::size_t>(cells[0]) * cells[1] * cells[2];
    }
    std::size_t CellOf(const PlacedFace& face) const {
        std::size_t cell = 0;
        for (int axis = 2; axis >= 0; --axis) {
            const float t = (face.centre[axis] - low[axis]) * scale[axis];
            // A side of no length, or a NaN centre, gives the first cell.
            const int last = cells[axis] - 1;
            const int at = t > 0.0f ? std::min(last, static_cast<int>(std::min(t, 1e9f))) : 0;
            cell = cell * static_cast<std::size_t>(cells[axis]) + static_cast<std::size_t>(at);
        }
        return cell;
    }
};

// Cells along each side in proportion to its length, about 2 x count / maxFaces in all: the
// side with the longest cells is halved until there are enough. False when the box has no size
// or no finite one.
bool ChooseGrid(std::size_t count, std::size_t maxFaces, const CentreBox& box, Grid& grid) {
    double side[3];
    for (int axis = 0; axis < 3; ++axis) {
        side[axis] = static_cast<double>(box.high[axis]) - box.low[axis];
        if (!std::isfinite(side[axis])) {
            return false;
        }
    }
    if (side[0] <= 0.0 && side[1] <= 0.0 && side[2] <= 0.0) {
        return false;
    }
    int* cells = grid.cells;
    const double wanted = 2.0 * static_cast<double>(count) / static_cast<double>(maxFaces);
    while (static_cast<double>(cells[0]) * cells[1] * cells[2] < wanted) {
        int longest = 0;
        for (int axis = 1; axis < 3; ++axis) {
            if (side[axis] / cells[axis] > side[longest] / cells[longest]) {
                longest = axis;
            }
        }
        cells[longest] *= 2;
    }
    for (int axis = 0; axis < 3; ++axis) {
        grid.low[axis] = box.low[axis];
        grid.scale[axis] = static_cast<float>(cells[axis]) / (box.high[axis] - box.low[axis]);
    }
    return true;
}

// Faces [begin, end) of `from` counted by their cells, which are kept in `cellOf`.
void CountInCells(const Grid& grid, const PlacedFace* from, std::size_t begin, std::size_t end,
                  std::uint32_t* cellOf, std::size_t* counts) {
    for (std::size_t i = begin; i < end; ++i) {
        const std::size_t cell = grid.CellOf(from[i]);
        cellOf[i] = static_cast<std::uint32_t>(cell);
        ++counts[cell];
    }
}

// Faces [begin, end) of `from` sorted by their cells into `to`, in the order they come within
// each cell, from `next[cell]` on; the box of each cell's centres grows by its faces.
void PlaceInCells(const PlacedFace* from, const std::uint32_t* cellOf, std::size_t begin,
                  std::size_t end, PlacedFace* to, std::size_t* next, CentreBox* boxes) {
    for (std::size_t i = begin; i < end; ++i) {
        const std::uint32_t cell = cellOf[i];
        boxes[cell].Add(from[i].centre);
        to[next[cell]++] = from[i];
    }
}

// Sorts faces into the cells of a grid over their centres' box, some two thousand faces to a
// cell on average, and a cell of too many faces into a finer grid of its own. A counting sort:
// each cell keeps the faces in the order they came, the file's. The faces go back and forth
// between their array and one other, level by level, and each part ends in their array. A big
// batch's first level is shared by two threads, and so are the cells it makes.
class GridSplitter {
public:
    GridSplitter(PlacedFace* faces, std::size_t count, std::size_t maxFaces, SplitScratch& scratch)
        : faces_(faces),
          count_(count),
          maxFaces_(maxFaces),
          other_(scratch.faces),
          cellOf_(scratch.cells) {
        if (other_.size() < count) {
            other_.clear();
            ReserveLarge(other_, count);
            other_.resize(count);
            cellOf_.clear();
            ReserveLarge(cellOf_, count);
            cellOf_.resize(count);
        }
    }

    std::vector<FaceRange> SplitAll(const CentreBox& box) {
        std::vector<FaceRange> parts;
        if (count_ < std::size_t{kFacesWorthASecondThread}) {
            Split({0, count_}, parts, faces_, box);
            return parts;
        }
        // Level 0: each half counted and placed by one thread, the first half's faces before
        // the second's in every cell.
        Grid grid;
        if (!ChooseGrid(count_, maxFaces_, box, grid)) {
            InFileOrder({0, count_}, parts);
            return parts;
        }
        const std::size_t cellCount = grid.CellCount();
        const std::size_t halves[3] = {0, count_ / 2, count_};
        std::vector<std::size_t> next[2];
        ShareWithSecondThread([&](int half) {
            next[half].assign(cellCount, 0);
            CountInCells(grid, faces_, halves[half], halves[half + 1], cellOf_.data(),
                         next[half].data());
        });
        std::vector<std::size_t> starts(cellCount + 1, 0);
        for (std::size_t cell = 0; cell < cellCount; ++cell) {
            const std::size_t firstHalf = next[0][cell];
            starts[cell + 1] = starts[cell] + firstHalf + next[1][cell];
            next[0][cell] = starts[cell];
            next[1][cell] = starts[cell] + firstHalf;
        }
        PlacedFace* const to = other_.data();
        std::vector<CentreBox> boxes[2];
        ShareWithSecondThread([&](int half) {
            boxes[half].assign(cellCount, CentreBox());
            PlaceInCells(faces_, cellOf_.data(), halves[half], halves[half + 1], to,
                         next[half].data(), boxes[half].data());
        });
        // The cells, each split on by whichever thread takes it first.
        std::atomic<std::size_t> nextCell{0};
        std::vector<FaceRange> found[2];
        ShareWithSecondThread([&](int thread) {
            for (std::size_t cell = nextCell++; cell < cellCount; cell = nextCell++) {
                if (starts[cell] < starts[cell + 1]) {
                    CentreBox cellBox = boxes[0][cell];
                    cellBox.Add(boxes[1][cell]);
                    Split({starts[cell], starts[cell + 1]}, found[thread], to, cellBox, 1);
                }
            }
        });
        parts = std::move(found[0]);
        parts.insert(parts.end(), found[1].begin(), found[1].end());
        return parts;
    }

private:
    // Deep enough for any float spread; guards against a grid that cannot part its faces.
    static constexpr int kMaxDepth = 8;

    // Splits `range`, which lies in `from` (the faces' array or the other one), its centres in
    // `box`.
    void Split(FaceRange range, std::vector<FaceRange>& parts, PlacedFace* from,
               const CentreBox& box, int depth = 0) {
        const std::size_t count = range.end - range.begin;
        if (count <= maxFaces_) {
            Settle(range, from);
            parts.push_back(range);
            return;
        }
        Grid grid;
        if (depth >= kMaxDepth || !ChooseGrid(count, maxFaces_, box, grid)) {
            // All at one point, or out of float's range: parts in file order.
            Settle(range, from);
            InFileOrder(range, parts);
            return;
        }
        const std::size_t cellCount = grid.CellCount();
        std::vector<std::size_t> starts(cellCount + 1, 0);
        CountInCells(grid, from, range.begin, range.end, cellOf_.data(), starts.data() + 1);
        for (std::size_t cell = 1; cell < starts.size(); ++cell) {
            starts[cell] += starts[cell - 1];
        }
        PlacedFace* const to = from == faces_ ? other_.data() : faces_;
        std::vector<std::size_t> next(cellCount);
        for (std::size_t cell = 0; cell < cellCount; ++cell) {
            next[cell] = range.begin + starts[cell];
        }
        std::vector<CentreBox> boxes(cellCount);
        PlaceInCells(from, cellOf_.data(), range.begin, range.end, to, next.data(), boxes.data());
        for (std::size_t cell = 0; cell < cellCount; ++cell) {
            if (starts[cell] < starts[cell + 1]) {
                Split({range.begin + starts[cell], range.begin + starts[cell + 1]}, parts, to,
                      boxes[cell], depth + 1);
            }
        }
    }

    void InFileOrder(FaceRange range, std::vector<FaceRange>& parts) const {
        for (std::size_t begin = range.begin; begin < range.end; begin += maxFaces_) {
            parts.push_back({begin, std::min(range.end, begin + maxFaces_)});
        }
    }

    // Puts the numbers of a range that lies in `from` into the faces' array.
    void Settle(FaceRange range, const PlacedFace* from) {
        if (from != faces_) {
            for (std::size_t i = range.begin; i < range.end; ++i) {
                faces_[i].number = from[i].number;
            }
        }
    }

    PlacedFace* faces_;
    std::size_t count_;
    std::size_t maxFaces_;
    LaidOutArray<PlacedFace>& other_;
    LaidOutArray<std::uint32_t>& cellOf_;  // by place in the range being split
};

}  // namespace

std::size_t BatchFaces::RunOf(std::uint32_t number) const {
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), number,
                         [](std::uint32_t n, const Run& run) { return n < run.firstNumber; });
    return static_cast<std::size_t>(after - runs_.begin()) - 1;
}

std::vector<FaceRange> SplitIntoParts(PlacedFace* faces, std::size_t count, PartOrder partOrder,
                                      std::size_t maxFaces, SplitScratch* scratch,
                                      const CentreBox* box) {
    maxFaces = std::clamp<std::size_t>(maxFaces, 1, kMaxFacesPerPart);
    std::vector<FaceRange> parts;
    if (partOrder == PartOrder::kFileOrder) {
        for (std::size_t begin = 0; begin < count; begin += maxFaces) {
            parts.push_back({begin, std::min(count, begin + maxFaces)});
        }
        return parts;
    }
    CentreBox measured;
    if (box == nullptr) {
        for (std::size_t i = 0; i < count; ++i) {
            measured.Add(faces[i].centre);
        }
    }
    SplitScratch own;
    parts = GridSplitter(faces, count, maxFaces, scratch != nullptr ? *scratch : own)
                .SplitAll(box != nullptr ? *box : measured);
    std::sort(parts.begin(), parts.end(), [faces](const FaceRange& a, const FaceRange& b) {
        return faces[a.begin].number < faces[b.begin].number;
    });
    return parts;
}

// One thread's pass over a part: the vertices it makes and, given the part's place in the
// arrays, the vertices and corners written there.
class PartLayout::Writer {
public:
    Writer(const std::vector<const Mesh*>& meshes, const VertexPlacement& placement)
        : meshes_(meshes), placement_(placement), slots_(kSlots) {}

    // Where a part's vertices and corners go; null while only counting.
    struct Output {
        float* positions;
        float* normals;
        float* texCoords;  // null: untextured
        std::uint16_t* corners;
    };

    std::size_t Lay(const BatchFaces& faces, const PlacedFace* placed, FaceRange part,
                    const PartShading& shading, const Output* out);

private:
    // A vertex of the mesh being laid out, by its index there. A part's faces come mesh after
    // mesh (the file's order), so the slots serve one mesh of one part at a time: those filled
    // in another pass are empty.
    struct Slot {
        std::uint32_t pass = 0;
        std::uint16_t vertex = 0;
        bool lit = false;  // flat: the vertex is a face's last corner, its normal that face's
        const float* normal = nullptr;  // smooth: the normal it was made with
    };
    static constexpr std::size_t kSlots = 65536;  // every 16-bit vertex index

    // The normal of a face, as the reader computes it, turned as its vertices are.
    void FaceNormal(const Mesh& mesh, int face, float normal[3]) const {
        ComputeFaceNormal(mesh, face, normal);
        if (placement_.upright) {
            placement_.Turn(normal);
        }
    }

    const std::vector<const Mesh*>& meshes_;
    VertexPlacement placement_;
    std::vector<Slot> slots_;
    std::uint32_t pass_ = 0;
};

std::size_t PartLayout::Writer::Lay(const BatchFaces& faces, const PlacedFace* placed,
                                    FaceRange part, const PartShading& shading, const Output* out) {
    std::size_t vertices = 0;
    // A new vertex of the part: at vertex `index` of the mesh, with `normal`.
    const auto add = [&](const Mesh& mesh, int index, const float* normal) {
        if (out != nullptr) {
            float* position = out->positions + 3 * vertices;
            ReadVertex(mesh, index, position);
            placement_.Place(position);
            std::copy(normal, normal + 3, out->normals + 3 * vertices);
            if (const Material* map = shading.texture) {
                const float* uv = mesh.textureCoords.data() + 2 * static_cast<std::size_t>(index);
                out->texCoords[2 * vertices] = uv[0] * map->uScale + map->uOffset;
                out->texCoords[2 * vertices + 1] = uv[1] * map->vScale + map->vOffset;
            }
        }
        return static_cast<std::uint16_t>(vertices++);
    };
    const std::vector<BatchFaces::Run>& runs = faces.Runs();
    std::size_t run = part.begin < part.end ? faces.RunOf(placed[part.begin].number) : 0;
    std::uint32_t slotMesh = UINT32_MAX;
    std::size_t corners = 0;
    float faceNormal[3] = {0.0f, 0.0f, 0.0f};
    for (std::size_t i = part.begin; i < part.end; ++i) {
        const std::uint32_t number = placed[i].number;
        while (number >= runs[run].firstNumber + runs[run].faceCount) {
            ++run;
        }
        const std::uint32_t meshIndex = runs[run].mesh;
        const Mesh& mesh = *meshes_[meshIndex];
        if (meshIndex != slotMesh) {
            ++pass_;
            slotMesh = meshIndex;
        }
        const int face = static_cast<int>(runs[run].firstFace + (number - runs[run].firstNumber));
        const std::uint16_t* record = FaceRecord(mesh, face);
        const float* cornerNormals = nullptr;
        if (shading.smoothNormals != nullptr) {
            cornerNormals = (*shading.smoothNormals)[meshIndex].data() + 9 * std::size_t(face);
        } else if (out != nullptr) {
            FaceNormal(mesh, face, faceNormal);
        }
        for (int corner = 0; corner < 3; ++corner) {
            Slot& slot = slots_[record[corner]];
            const bool known = slot.pass == pass_;
            const float* normal =
                cornerNormals != nullptr ? cornerNormals + 3 * corner : faceNormal;
            std::uint16_t vertex = slot.vertex;
            if (cornerNormals != nullptr) {
                // Smooth: shared where the corner's normal is the one the vertex was made with.
                if (!known || std::memcmp(slot.normal, normal, 3 * sizeof(float)) != 0) {
                    vertex = add(mesh, record[corner], normal);
                    slot = {pass_, vertex, false, normal};
                }
            } else if (corner < 2) {
                // Flat, a first or second corner: any vertex at this place will do.
                if (!known) {
                    vertex = add(mesh, record[corner], normal);
                    slot = {pass_, vertex, false, nullptr};
                }
            } else if (known && !slot.lit) {
                // Flat, the last corner, which lights the face: a vertex not yet lighting
                // another face takes this face's normal.
                if (out != nullptr) {
                    std::copy(normal, normal + 3, out->normals + 3 * std::size_t{slot.vertex});
                }
                slot.lit = true;
            } else {
                vertex = add(mesh, record[corner], normal);
                if (!known) {
                    slot = {pass_, vertex, true, nullptr};
                }
            }
            if (out != nullptr) {
                out->corners[corners++] = vertex;
            }
        }
    }
    return vertices;
}

PartLayout::PartLayout(const std::vector<const Mesh*>& meshes, const VertexPlacement& placement)
    : meshes_(meshes), placement_(placement) {}

PartLayout::~PartLayout() = default;

void PartLayout::Write(const BatchFaces& faces, const PlacedFace* placed,
                       const std::vector<FaceRange>& parts, const PartShading& shading,
                       PartArrays& arrays) {
    std::size_t faceCount = 0;
    for (const FaceRange& part : parts) {
        faceCount += part.end - part.begin;
    }
    // Both threads take parts from a shared counter until none are left; each part's result
    // has its own place, so the arrays are the same whichever thread lays out which part.
    const auto onBothThreads = [&](const auto& layPart) {
        std::atomic<std::size_t> next{0};
        const auto share = [&](int thread) {
            for (std::size_t i = next++; i < parts.size(); i = next++) {
                if (!writers_[thread]) {
                    writers_[thread] = std::make_unique<Writer>(meshes_, placement_);
                }
                layPart(*writers_[thread], i);
            }
        };
        if (parts.size() > 1 && faceCount >= std::size_t{kFacesWorthASecondThread}) {
            ShareWithSecondThread(share);
        } else {
            share(1);
        }
    };
    // A first pass counts each part's vertices, so that the arrays are made once at their size.
    std::vector<std::size_t> vertices(parts.size());
    onBothThreads([&](Writer& writer, std::size_t i) {
        vertices[i] = writer.Lay(faces, placed, parts[i], shading, nullptr);
    });
    arrays.parts.resize(parts.size());
    std::size_t vertexCount = 0;
    std::size_t cornerCount = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        DrawingPart& part = arrays.parts[i];
        part.firstVertex = vertexCount;
        part.firstCorner = cornerCount;
        part.cornerCount = 3 * (parts[i].end - parts[i].begin);
        vertexCount += vertices[i];
        cornerCount += part.cornerCount;
    }
    const bool textured = shading.texture != nullptr;
    ReserveLarge(arrays.positions, 3 * vertexCount);
    ReserveLarge(arrays.normals, 3 * vertexCount);
    ReserveLarge(arrays.texCoords, textured ? 2 * vertexCount : 0);
    ReserveLarge(arrays.corners, cornerCount);
    arrays.positions.resize(3 * vertexCount);
    arrays.normals.resize(3 * vertexCount);
    arrays.texCoords.resize(textured ? 2 * vertexCount : 0);
    arrays.corners.resize(cornerCount);
    onBothThreads([&](Writer& writer, std::size_t i) {
        DrawingPart& part = arrays.parts[i];
        const Writer::Output out{
            arrays.positions.data() + 3 * part.firstVertex,
            arrays.normals.data() + 3 * part.firstVertex,
            textured ? arrays.texCoords.data() + 2 * part.firstVertex : nullptr,
            arrays.corners.data() + part.firstCorner};
        writer.Lay(faces, placed, parts[i], shading, &out);
        MeasureBox(arrays.positions, part.firstVertex, part.firstVertex + vertices[i], part);
    });
}
