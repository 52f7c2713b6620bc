#include "drawing/MaterialBatches.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "drawing/SmoothNormals.h"
#include "platform/Platform.h"
#include "scene/SecondThread.h"

namespace {

// What makes faces one batch. A face in no group has no material and its mesh's colour.
struct BatchKey {
    const Material* material;
    const float* meshColor;  // null: white
    bool textured;
    bool smooth;  // in a smoothing group of a mesh that has them
    bool operator<(const BatchKey& other) const {
        return std::tie(material, meshColor, textured, smooth) <
               std::tie(other.material, other.meshColor, other.textured, other.smooth);
    }
};

class BatchBuilder {
public:
    BatchBuilder(const TextureOfMaterial& textureOf, const VertexPlacement& placement,
                 const MeshLaidOut& laidOut)
        : textureOf_(textureOf), placement_(placement), laidOut_(laidOut) {}

    // Finds each drawable face's batch; the faces are laid out by Finish.
    void AddMesh(const Mesh& mesh) {
        const auto meshIndex = static_cast<std::uint32_t>(meshes_.size());
        meshes_.push_back(&mesh);
        batchesLeft_.push_back(0);
        const int faceCount = FaceCount(mesh);
        const bool hasFaceMaterials =
            mesh.faceMaterials.size() == static_cast<std::size_t>(faceCount);
        const bool hasCoords =
            mesh.textureCoords.size() / 2 >= static_cast<std::size_t>(mesh.vertexCount);
        std::vector<float> smoothed = PlacedSmoothNormals(mesh);
        // Neighbouring faces mostly share their material: look a key up only when it changes,
        // and add the faces of a batch that follow one another at once.
        std::optional<BatchKey> last;
        std::uint32_t lastBatch = 0;
        std::uint32_t runStart = 0;
        std::uint32_t runEnd = 0;  // the faces [runStart, runEnd) go to lastBatch
        const auto addRun = [&] {
            if (runEnd > runStart) {
                BatchFaces& faces = faces_[lastBatch];
                if (faces.Runs().empty() || faces.Runs().back().mesh != meshIndex) {
                    ++batchesLeft_[meshIndex];
                }
                faces.Add(meshIndex, runStart, runEnd - runStart);
            }
        };
        for (int face = 0; face < faceCount; ++face) {
            if (!IsDrawable(mesh, face)) {
                continue;
            }
            const Material* material =
                hasFaceMaterials ? mesh.faceMaterials[static_cast<std::size_t>(face)] : nullptr;
            const bool smooth = !smoothed.empty() && mesh.smoothingGroups[std::size_t(face)] != 0;
            const auto at = static_cast<std::uint32_t>(face);
            if (!last || last->material != material || last->smooth != smooth) {
                addRun();
                BatchKey key{material, material == nullptr ? mesh.materialColor : nullptr, false,
                             smooth};
                key.textured = material != nullptr && hasCoords && TextureOf(*material) >= 0;
                const auto [found, added] =
                    batchOfKey_.emplace(key, static_cast<std::uint32_t>(keys_.size()));
                if (added) {
                    keys_.push_back(key);
                    faces_.emplace_back();
                }
                last = key;
                lastBatch = found->second;
                runStart = runEnd = at;
            } else if (at != runEnd) {
                addRun();
                runStart = runEnd = at;
            }
            runEnd = at + 1;
        }
        addRun();
        smoothNormals_.push_back(std::move(smoothed));
        if (batchesLeft_[meshIndex] == 0) {
            Done(meshIndex);
        }
    }

    // Opaque batches first, then transparent ones, each in the order first used. Each batch is
    // laid out whole before the next; a mesh is done with once every batch it has faces in is.
    MaterialBatches Finish(PartOrder order) {
        std::vector<std::size_t> drawingOrder(keys_.size());
        for (std::size_t i = 0; i < drawingOrder.size(); ++i) {
            drawingOrder[i] = i;
        }
        std::stable_partition(drawingOrder.begin(), drawingOrder.end(),
                              [&](std::size_t i) { return !IsTransparent(keys_[i]); });
        MaterialBatches out;
        PartLayout layout(meshes_, placement_);
        // Room for the biggest batch's faces, twice over, made once.
        LaidOutArray<PlacedFace> placed;
        SplitScratch scratch;
        for (std::size_t i : drawingOrder) {
            MaterialBatch batch = Describe(keys_[i]);
            batch.smooth = keys_[i].smooth;
            PartShading shading;
            shading.smoothNormals = keys_[i].smooth ? &smoothNormals_ : nullptr;
            shading.texture = keys_[i].textured ? keys_[i].material : nullptr;
            const BatchFaces& faces = faces_[i];
            const CentreBox box = Place(faces, order, placed);
            const std::vector<FaceRange> parts = SplitIntoParts(placed.data(), placed.size(), order,
                                                                kMaxFacesPerPart, &scratch, &box);
            layout.Write(faces, placed.data(), parts, shading, batch.arrays);
            out.batches.push_back(std::move(batch));
            for (std::size_t run = 0; run < faces.Runs().size(); ++run) {
                const std::uint32_t mesh = faces.Runs()[run].mesh;
                const bool firstOfMesh = run == 0 || faces.Runs()[run - 1].mesh != mesh;
                if (firstOfMesh && --batchesLeft_[mesh] == 0) {
                    Done(mesh);
                }
            }
            faces_[i] = BatchFaces();
        }
        return out;
    }

private:
    // The corner normals of a mesh with smoothing groups, from its vertices and face normals
    // where the drawing puts them; empty without.
    std::vector<float> PlacedSmoothNormals(const Mesh& mesh) const {
        const int faceCount = FaceCount(mesh);
        if (faceCount == 0 || mesh.smoothingGroups.size() != static_cast<std::size_t>(faceCount)) {
            return {};
        }
        std::vector<float> vertices(3 * static_cast<std::size_t>(mesh.vertexCount));
        for (int v = 0; v < mesh.vertexCount; ++v) {
            float* xyz = vertices.data() + 3 * static_cast<std::size_t>(v);
            ReadVertex(mesh, v, xyz);
            placement_.Place(xyz);
        }
        std::vector<float> normals(3 * static_cast<std::size_t>(faceCount));
        ComputeFaceNormals(mesh, 0, faceCount, normals.data());
        if (placement_.upright) {
            for (int face = 0; face < faceCount; ++face) {
                placement_.Turn(normals.data() + 3 * static_cast<std::size_t>(face));
            }
        }
        return SmoothCornerNormals(mesh, vertices.data(), normals.data());
    }

    // The batch's faces by number, in file order, each with the sum of its corners where the
    // drawing puts them for a spatial order (and the box of those sums); a big batch's halves
    // on two threads.
    CentreBox Place(const BatchFaces& faces, PartOrder order,
                    LaidOutArray<PlacedFace>& placed) const {
        if (placed.capacity() < faces.Count()) {
            placed = LaidOutArray<PlacedFace>();
            placed.reserve(faces.Count());
            // Mapped by the two threads that place the faces.
            platform::PreferLargePages(placed.data(), sizeof(PlacedFace) * faces.Count());
        }
        placed.resize(faces.Count());
        const std::uint32_t halves[3] = {0, faces.Count() / 2, faces.Count()};
        CentreBox boxes[2];
        const auto placeHalf = [&](int half) {
            // Grown here and stored once: the two halves' boxes share a cache line.
            CentreBox box;
            const std::vector<BatchFaces::Run>& runs = faces.Runs();
            std::uint32_t number = halves[half];
            for (std::size_t run = halves[half] < halves[half + 1] ? faces.RunOf(number) : 0;
                 number < halves[half + 1]; ++run) {
                const Mesh& mesh = *meshes_[runs[run].mesh];
                const std::uint32_t runEnd =
                    std::min(halves[half + 1], runs[run].firstNumber + runs[run].faceCount);
                for (; number < runEnd; ++number) {
                    PlacedFace& at = placed[number];
                    at = PlacedFace{{0.0f, 0.0f, 0.0f}, number};
                    if (order != PartOrder::kSpatial) {
                        continue;
                    }
                    const int face =
                        static_cast<int>(runs[run].firstFace + (number - runs[run].firstNumber));
                    const std::uint16_t* record = FaceRecord(mesh, face);
                    for (int corner = 0; corner < 3; ++corner) {
                        float xyz[3];
                        ReadVertex(mesh, record[corner], xyz);
                        placement_.Place(xyz);
                        for (int axis = 0; axis < 3; ++axis) {
                            at.centre[axis] += xyz[axis];
                        }
                    }
                    box.Add(at.centre);
                }
            }
            boxes[half] = box;
        };
        if (faces.Count() >= std::uint32_t{kFacesWorthASecondThread}) {
            ShareWithSecondThread(placeHalf);
        } else {
            placeHalf(0);
            placeHalf(1);
        }
        boxes[0].Add(boxes[1]);
        return boxes[0];
    }

    // Nothing reads the mesh any more.
    void Done(std::uint32_t mesh) {
        smoothNormals_[mesh] = std::vector<float>();
        if (laidOut_) {
            laidOut_(*meshes_[mesh]);
        }
    }

    static bool IsTransparent(const BatchKey& key) {
        return key.material != nullptr && key.material->transparency > 0.0f;
    }

    MaterialBatch Describe(const BatchKey& key) const {
        static const float kWhite[3] = {1.0f, 1.0f, 1.0f};
        MaterialBatch batch;
        const float* rgb = kWhite;
        if (key.material == nullptr) {
            rgb = key.meshColor != nullptr ? key.meshColor : kWhite;
        } else if (!key.textured && key.material->hasColor) {
            rgb = key.material->color;
        }
        std::copy(rgb, rgb + 3, batch.color);
        batch.color[3] = 1.0f;
        if (key.material != nullptr) {
            batch.color[3] = 1.0f - std::clamp(key.material->transparency, 0.0f, 1.0f);
            batch.twoSided = key.material->twoSided;
            batch.transparent = IsTransparent(key);
            batch.texture = key.textured ? textureOfMaterial_.at(key.material) : -1;
        }
        return batch;
    }

    // The texture index of a material, or -1; each material is asked for once.
    int TextureOf(const Material& material) {
        const auto known = textureOfMaterial_.find(&material);
        if (known != textureOfMaterial_.end()) {
            return known->second;
        }
        const int index = textureOf_(material);
        textureOfMaterial_[&material] = index;
        return index;
    }

    const TextureOfMaterial& textureOf_;
    VertexPlacement placement_;
    const MeshLaidOut& laidOut_;
    std::map<BatchKey, std::uint32_t> batchOfKey_;
    std::vector<BatchKey> keys_;     // by batch, in the order first used
    std::vector<BatchFaces> faces_;  // by batch
    // By mesh, in file order: the mesh, its corner normals (empty without smoothing groups)
    // and the batches still to be laid out that have faces of it.
    std::vector<const Mesh*> meshes_;
    std::vector<std::vector<float>> smoothNormals_;
    std::vector<std::uint32_t> batchesLeft_;
    std::unordered_map<const Material*, int> textureOfMaterial_;
};

}  // namespace

MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const TextureOfMaterial& textureOf,
                                     PartOrder order, const VertexPlacement& placement,
                                     const MeshLaidOut& laidOut) {
    BatchBuilder builder(textureOf, placement, laidOut);
    for (const Mesh* mesh = firstMesh; mesh != nullptr; mesh = mesh->next) {
        builder.AddMesh(*mesh);
    }
    return builder.Finish(order);
}
