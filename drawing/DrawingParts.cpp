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

bool InFileOrder(const PlacedFace& a, const PlacedFace& b) {
    return std::tie(a.mesh, a.face) < std::tie(b.mesh, b.face);
}

// Room for `count` elements, mapped at once: the arrays are filled right after.
template <class T>
void Reserve(std::vector<T>& values, std::size_t count) {
    values.reserve(count);
    platform::PrefaultForWriting(values.data(), count * sizeof(T));
}

void MeasureBox(const std::vector<float>& positions, std::size_t first, std::size_t end,
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

// Sorts faces into the cells of a grid over their centres' box, some two thousand faces to a
// cell on average, and a cell of too many faces into a finer grid of its own. A counting sort:
// each cell keeps the faces in the order they came, the file's.
class GridSplitter {
public:
    GridSplitter(PlacedFace* faces, std::size_t count, std::size_t maxFaces)
        : faces_(faces), maxFaces_(maxFaces) {
        Reserve(sorted_, count);
        sorted_.resize(count);
    }

    void Split(FaceRange range, std::vector<FaceRange>& parts, int depth = 0) {
        const std::size_t count = range.end - range.begin;
        if (count <= maxFaces_) {
            parts.push_back(range);
            return;
        }
        float low[3], high[3];
        Bounds(range, low, high);
        int cells[3] = {1, 1, 1};
        const bool splittable = depth < kMaxDepth && ChooseCells(count, low, high, cells);
        if (!splittable) {
            // All at one point, or out of float's range: parts in file order.
            for (std::size_t begin = range.begin; begin < range.end; begin += maxFaces_) {
                parts.push_back({begin, std::min(range.end, begin + maxFaces_)});
            }
            return;
        }
        float scale[3];  // cells per unit of length
        for (int axis = 0; axis < 3; ++axis) {
            scale[axis] = static_cast<float>(cells[axis]) / (high[axis] - low[axis]);
        }
        const auto cellOf = [&](const PlacedFace& face) {
            std::size_t cell = 0;
            for (int axis = 2; axis >= 0; --axis) {
                const float t = (face.centre[axis] - low[axis]) * scale[axis];
                // A side of no length, or a NaN centre, gives the first cell.
                const int last = cells[axis] - 1;
                const int at = t > 0.0f ? std::min(last, static_cast<int>(std::min(t, 1e9f))) : 0;
                cell = cell * static_cast<std::size_t>(cells[axis]) + static_cast<std::size_t>(at);
            }
            return cell;
        };
        std::vector<std::size_t> starts(
            static_cast<std::size_t>(cells[0]) * cells[1] * cells[2] + 1, 0);
        for (std::size_t i = range.begin; i < range.end; ++i) {
            ++starts[cellOf(faces_[i]) + 1];
        }
        for (std::size_t cell = 1; cell < starts.size(); ++cell) {
            starts[cell] += starts[cell - 1];
        }
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        for (std::size_t i = range.begin; i < range.end; ++i) {
            sorted_[range.begin + next[cellOf(faces_[i])]++] = faces_[i];
        }
        std::copy(sorted_.begin() + range.begin, sorted_.begin() + range.end, faces_ + range.begin);
        for (std::size_t cell = 0; cell + 1 < starts.size(); ++cell) {
            if (starts[cell] < starts[cell + 1]) {
                Split({range.begin + starts[cell], range.begin + starts[cell + 1]}, parts,
                      depth + 1);
            }
        }
    }

private:
    // Deep enough for any float spread; guards against a grid that cannot part its faces.
    static constexpr int kMaxDepth = 8;

    void Bounds(FaceRange range, float low[3], float high[3]) const {
        std::fill(low, low + 3, std::numeric_limits<float>::infinity());
        std::fill(high, high + 3, -std::numeric_limits<float>::infinity());
        for (std::size_t i = range.begin; i < range.end; ++i) {
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], faces_[i].centre[axis]);
                high[axis] = std::max(high[axis], faces_[i].centre[axis]);
            }
        }
    }

    // Cells along each side in proportion to its length, about 2 x count / maxFaces in all:
    // the side with the longest cells is halved until there are enough. False when the box has
    // no size or no finite one.
    bool ChooseCells(std::size_t count, const float low[3], const float high[3],
                     int cells[3]) const {
        double side[3];
        for (int axis = 0; axis < 3; ++axis) {
            side[axis] = static_cast<double>(high[axis]) - low[axis];
            if (!std::isfinite(side[axis])) {
                return false;
            }
        }
        if (side[0] <= 0.0 && side[1] <= 0.0 && side[2] <= 0.0) {
            return false;
        }
        const double wanted = 2.0 * static_cast<double>(count) / static_cast<double>(maxFaces_);
        while (static_cast<double>(cells[0]) * cells[1] * cells[2] < wanted) {
            int longest = 0;
            for (int axis = 1; axis < 3; ++axis) {
                if (side[axis] / cells[axis] > side[longest] / cells[longest]) {
                    longest = axis;
                }
            }
            cells[longest] *= 2;
        }
        return true;
    }

    PlacedFace* faces_;
    std::size_t maxFaces_;
    std::vector<PlacedFace> sorted_;
};

}  // namespace

std::vector<FaceRange> SplitIntoParts(PlacedFace* faces, std::size_t count, PartOrder order,
                                      std::size_t maxFaces) {
    maxFaces = std::clamp<std::size_t>(maxFaces, 1, kMaxFacesPerPart);
    std::vector<FaceRange> parts;
    if (order == PartOrder::kFileOrder) {
        for (std::size_t begin = 0; begin < count; begin += maxFaces) {
            parts.push_back({begin, std::min(count, begin + maxFaces)});
        }
        return parts;
    }
    GridSplitter(faces, count, maxFaces).Split({0, count}, parts);
    std::sort(parts.begin(), parts.end(), [faces](const FaceRange& a, const FaceRange& b) {
        return InFileOrder(faces[a.begin], faces[b.begin]);
    });
    return parts;
}

// One thread's pass over a part: the vertices it makes and, given the part's place in the
// arrays, the vertices and corners written there.
class PartLayout::Writer {
public:
    explicit Writer(const std::vector<const Mesh*>& meshes) : meshes_(meshes) {
        std::size_t slots = 0;
        for (const Mesh* mesh : meshes_) {
            firstSlot_.push_back(slots);
            slots += static_cast<std::size_t>(mesh->vertexCount);
        }
        Reserve(slots_, slots);
        slots_.resize(slots);
    }

    // Where a part's vertices and corners go; null while only counting.
    struct Output {
        float* positions;
        float* normals;
        float* texCoords;  // null: untextured
        std::uint16_t* corners;
    };

    std::size_t Lay(const PlacedFace* faces, FaceRange part, const PartShading& shading,
                    const Output* out);

private:
    struct Slot {
        std::uint32_t pass = 0;  // the pass over a part that filled it; others' are empty
        std::uint16_t vertex = 0;
        bool lit = false;  // flat: the vertex is a face's last corner, its normal that face's
        const float* normal = nullptr;  // smooth: the normal it was made with
    };

    const std::vector<const Mesh*>& meshes_;
    std::vector<std::size_t> firstSlot_;  // by mesh
    std::vector<Slot> slots_;             // by mesh and vertex
    std::uint32_t pass_ = 0;
};

std::size_t PartLayout::Writer::Lay(const PlacedFace* faces, FaceRange part,
                                    const PartShading& shading, const Output* out) {
    ++pass_;
    std::size_t vertices = 0;
    // A new vertex of the part: at vertex `index` of the mesh, with `normal`.
    const auto add = [&](const Mesh& mesh, int index, const float* normal) {
        if (out != nullptr) {
            ReadVertex(mesh, index, out->positions + 3 * vertices);
            std::copy(normal, normal + 3, out->normals + 3 * vertices);
            if (const Material* map = shading.texture) {
                const float* uv = mesh.textureCoords.data() + 2 * static_cast<std::size_t>(index);
                out->texCoords[2 * vertices] = uv[0] * map->uScale + map->uOffset;
                out->texCoords[2 * vertices + 1] = uv[1] * map->vScale + map->vOffset;
            }
        }
        return static_cast<std::uint16_t>(vertices++);
    };
    std::size_t corners = 0;
    for (std::size_t i = part.begin; i < part.end; ++i) {
        const Mesh& mesh = *meshes_[faces[i].mesh];
        Slot* slots = slots_.data() + firstSlot_[faces[i].mesh];
        const int face = static_cast<int>(faces[i].face);
        const std::uint16_t* record = FaceRecord(mesh, face);
        const float* faceNormal = mesh.normals + 3 * static_cast<std::size_t>(face);
        const float* cornerNormals = nullptr;
        if (shading.smoothNormals != nullptr) {
            cornerNormals = (*shading.smoothNormals)[faces[i].mesh].data() + 9 * std::size_t(face);
        }
        for (int corner = 0; corner < 3; ++corner) {
            Slot& slot = slots[record[corner]];
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

PartLayout::PartLayout(const std::vector<const Mesh*>& meshes) : meshes_(meshes) {}

PartLayout::~PartLayout() = default;

void PartLayout::Write(const PlacedFace* faces, const std::vector<FaceRange>& parts,
                       const PartShading& shading, PartArrays& arrays) {
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
                    writers_[thread] = std::make_unique<Writer>(meshes_);
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
        vertices[i] = writer.Lay(faces, parts[i], shading, nullptr);
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
    Reserve(arrays.positions, 3 * vertexCount);
    Reserve(arrays.normals, 3 * vertexCount);
    Reserve(arrays.texCoords, textured ? 2 * vertexCount : 0);
    Reserve(arrays.corners, cornerCount);
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
        writer.Lay(faces, parts[i], shading, &out);
        MeasureBox(arrays.positions, part.firstVertex, part.firstVertex + vertices[i], part);
    });
}
