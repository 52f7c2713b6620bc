#include "drawing/MaterialBatches.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "drawing/SmoothNormals.h"
#include "platform/Platform.h"

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
    explicit BatchBuilder(const TextureOfMaterial& textureOf) : textureOf_(textureOf) {}

    // Finds each drawable face's batch; the faces are gathered by Finish.
    void AddMesh(const Mesh& mesh) {
        const int faceCount = FaceCount(mesh);
        const bool hasFaceMaterials =
            mesh.faceMaterials.size() == static_cast<std::size_t>(faceCount);
        const bool hasCoords =
            mesh.textureCoords.size() / 2 >= static_cast<std::size_t>(mesh.vertexCount);
        std::vector<float> smoothed = SmoothCornerNormals(mesh);
        meshes_.push_back(&mesh);
        std::vector<std::uint32_t>& batchOfFace = batchOfFace_.emplace_back();
        batchOfFace.assign(static_cast<std::size_t>(faceCount), kNotDrawn);
        // Neighbouring faces mostly share their material: look a key up only when it changes.
        std::optional<BatchKey> last;
        std::uint32_t lastBatch = 0;
        for (int face = 0; face < faceCount; ++face) {
            if (!IsDrawable(mesh, face)) {
                continue;
            }
            const Material* material =
                hasFaceMaterials ? mesh.faceMaterials[static_cast<std::size_t>(face)] : nullptr;
            const bool smooth = !smoothed.empty() && mesh.smoothingGroups[std::size_t(face)] != 0;
            if (!last || last->material != material || last->smooth != smooth) {
                BatchKey key{material, material == nullptr ? mesh.materialColor : nullptr, false,
                             smooth};
                key.textured = material != nullptr && hasCoords && TextureOf(*material) >= 0;
                const auto [at, added] =
                    batchOfKey_.emplace(key, static_cast<std::uint32_t>(keys_.size()));
                if (added) {
                    keys_.push_back(key);
                    faceCounts_.push_back(0);
                }
                last = key;
                lastBatch = at->second;
            }
            batchOfFace[static_cast<std::size_t>(face)] = lastBatch;
            ++faceCounts_[lastBatch];
        }
        smoothNormals_.push_back(std::move(smoothed));
    }

    // Opaque batches first, then transparent ones, each in the order first used.
    MaterialBatches Finish(PartOrder order) {
        std::vector<std::size_t> drawingOrder(keys_.size());
        for (std::size_t i = 0; i < drawingOrder.size(); ++i) {
            drawingOrder[i] = i;
        }
        std::stable_partition(drawingOrder.begin(), drawingOrder.end(),
                              [&](std::size_t i) { return !IsTransparent(keys_[i]); });
        std::vector<std::size_t> firstFace;
        std::vector<PlacedFace> faces = GatherFaces(order, firstFace);
        MaterialBatches out;
        PartLayout layout(meshes_);
        for (std::size_t i : drawingOrder) {
            MaterialBatch batch = Describe(keys_[i]);
            batch.smooth = keys_[i].smooth;
            PartShading shading;
            shading.smoothNormals = keys_[i].smooth ? &smoothNormals_ : nullptr;
            shading.texture = keys_[i].textured ? keys_[i].material : nullptr;
            PlacedFace* batchFaces = faces.data() + firstFace[i];
            const std::vector<FaceRange> parts = SplitIntoParts(batchFaces, faceCounts_[i], order);
            layout.Write(batchFaces, parts, shading, batch.arrays);
            out.batches.push_back(std::move(batch));
        }
        return out;
    }

private:
    static constexpr std::uint32_t kNotDrawn = UINT32_MAX;

    // Every drawable face, batch after batch, each batch's in file order; `firstFace` says
    // where each batch's start. The faces' centres only for a spatial order.
    std::vector<PlacedFace> GatherFaces(PartOrder order, std::vector<std::size_t>& firstFace) {
        std::size_t total = 0;
        for (std::size_t count : faceCounts_) {
            firstFace.push_back(total);
            total += count;
        }
        std::vector<PlacedFace> faces;
        faces.reserve(total);
        platform::PrefaultForWriting(faces.data(), total * sizeof(PlacedFace));
        faces.resize(total);
        std::vector<std::size_t> next = firstFace;
        for (std::size_t mesh = 0; mesh < meshes_.size(); ++mesh) {
            const std::vector<std::uint32_t>& batchOfFace = batchOfFace_[mesh];
            for (std::size_t face = 0; face < batchOfFace.size(); ++face) {
                if (batchOfFace[face] == kNotDrawn) {
                    continue;
                }
                PlacedFace& placed = faces[next[batchOfFace[face]]++];
                placed = {{0.0f, 0.0f, 0.0f},
                          static_cast<std::uint32_t>(mesh),
                          static_cast<std::uint32_t>(face)};
                if (order == PartOrder::kSpatial) {
                    AddCorners(*meshes_[mesh], static_cast<int>(face), placed.centre);
                }
            }
        }
        batchOfFace_ = {};
        return faces;
    }

    static void AddCorners(const Mesh& mesh, int face, float sum[3]) {
        const std::uint16_t* record = FaceRecord(mesh, face);
        for (int corner = 0; corner < 3; ++corner) {
            float xyz[3];
            ReadVertex(mesh, record[corner], xyz);
            for (int axis = 0; axis < 3; ++axis) {
                sum[axis] += xyz[axis];
            }
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
    std::map<BatchKey, std::uint32_t> batchOfKey_;
    std::vector<BatchKey> keys_;           // by batch, in the order first used
    std::vector<std::size_t> faceCounts_;  // by batch
    // By mesh, in file order: the mesh, its faces' batches (kNotDrawn for a face GL cannot
    // draw) and its corner normals (empty without smoothing groups).
    std::vector<const Mesh*> meshes_;
    std::vector<std::vector<std::uint32_t>> batchOfFace_;
    std::vector<std::vector<float>> smoothNormals_;
    std::unordered_map<const Material*, int> textureOfMaterial_;
};

}  // namespace

MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const TextureOfMaterial& textureOf,
                                     PartOrder order) {
    BatchBuilder builder(textureOf);
    for (const Mesh* mesh = firstMesh; mesh != nullptr; mesh = mesh->next) {
        builder.AddMesh(*mesh);
    }
    return builder.Finish(order);
}
