#include "scene/MaterialBatches.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "scene/SmoothNormals.h"
#include "scene/TextureFiles.h"

namespace {

// What makes faces one batch. A face in no group has no material and its mesh's colour.
struct BatchKey {
    const Material* material;
    const float* meshColor;  // null: white
    bool textured;
    bool operator<(const BatchKey& other) const {
        return std::tie(material, meshColor, textured) <
               std::tie(other.material, other.meshColor, other.textured);
    }
};

struct FaceRef {
    const Mesh* mesh;
    int face;
};

class BatchBuilder {
public:
    explicit BatchBuilder(const std::string& modelPath) : modelPath_(modelPath) {}

    void AddMesh(const Mesh& mesh) {
        const int faceCount = FaceCount(mesh);
        const bool hasFaceMaterials =
            mesh.faceMaterials.size() == static_cast<std::size_t>(faceCount);
        const bool hasCoords =
            mesh.textureCoords.size() / 2 >= static_cast<std::size_t>(mesh.vertexCount);
        for (int face = 0; face < faceCount; ++face) {
            if (!IsDrawable(mesh, face)) {
                continue;
            }
            const Material* material =
                hasFaceMaterials ? mesh.faceMaterials[static_cast<std::size_t>(face)] : nullptr;
            BatchKey key{material, material == nullptr ? mesh.materialColor : nullptr, false};
            key.textured = material != nullptr && hasCoords && TextureOf(*material) >= 0;
            const auto [at, added] = batchOfKey_.emplace(key, faces_.size());
            if (added) {
                keys_.push_back(key);
                faces_.emplace_back();
            }
            faces_[at->second].push_back({&mesh, face});
        }
        std::vector<float> smoothed = SmoothCornerNormals(mesh);
        if (!smoothed.empty()) {
            smoothNormals_[&mesh] = std::move(smoothed);
        }
    }

    MaterialBatches Finish() {
        MaterialBatches out;
        // Drawing order: opaque, then transparent.
        std::vector<std::size_t> order(keys_.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_partition(order.begin(), order.end(),
                              [&](std::size_t i) { return !IsTransparent(keys_[i]); });
        // Array order: textured first, so that the coordinates cover only their corners.
        std::vector<std::size_t> layout = order;
        std::stable_partition(layout.begin(), layout.end(),
                              [&](std::size_t i) { return keys_[i].textured; });
        std::vector<MaterialBatch> byKey(keys_.size());
        std::size_t corners = 0;
        std::size_t texturedCorners = 0;
        for (std::size_t i : layout) {
            byKey[i] = Describe(keys_[i]);
            byKey[i].firstCorner = corners;
            byKey[i].cornerCount = 3 * faces_[i].size();
            corners += byKey[i].cornerCount;
            if (keys_[i].textured) {
                texturedCorners = corners;
            }
        }
        out.positions.reserve(3 * corners);
        out.normals.reserve(3 * corners);
        out.texCoords.reserve(2 * texturedCorners);
        for (std::size_t i : layout) {
            for (const FaceRef& ref : faces_[i]) {
                AppendFace(ref, keys_[i], out);
            }
        }
        for (std::size_t i : order) {
            out.batches.push_back(byKey[i]);
        }
        out.images = std::move(images_);
        return out;
    }

private:
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

    void AppendFace(const FaceRef& ref, const BatchKey& key, MaterialBatches& out) const {
        const Mesh& mesh = *ref.mesh;
        const std::uint16_t* record = FaceRecord(mesh, ref.face);
        const auto smoothed = smoothNormals_.find(&mesh);
        for (int corner = 0; corner < 3; ++corner) {
            float xyz[3];
            ReadVertex(mesh, record[corner], xyz);
            out.positions.insert(out.positions.end(), xyz, xyz + 3);
            const float* normal =
                smoothed != smoothNormals_.end()
                    ? smoothed->second.data() + 9 * static_cast<std::size_t>(ref.face) + 3 * corner
                    : mesh.normals + 3 * static_cast<std::size_t>(ref.face);
            out.normals.insert(out.normals.end(), normal, normal + 3);
            if (key.textured) {
                const Material& m = *key.material;
                const float* uv = mesh.textureCoords.data() + 2 * std::size_t{record[corner]};
                out.texCoords.push_back(uv[0] * m.uScale + m.uOffset);
                out.texCoords.push_back(uv[1] * m.vScale + m.vOffset);
            }
        }
    }

    // The image index of a material's texture, or -1; each material and each file is looked
    // for and decoded once.
    int TextureOf(const Material& material) {
        const auto known = textureOfMaterial_.find(&material);
        if (known != textureOfMaterial_.end()) {
            return known->second;
        }
        int index = -1;
        if (!material.textureFile.empty()) {
            index = LoadImage(material);
        }
        textureOfMaterial_[&material] = index;
        return index;
    }

    int LoadImage(const Material& material) {
        const std::string path = FindTextureFile(modelPath_, material.textureFile);
        if (path.empty()) {
            Warn(material, "is not beside the model");
            return -1;
        }
        const auto known = imageOfPath_.find(path);
        if (known != imageOfPath_.end()) {
            return known->second;
        }
        std::string why;
        std::optional<TextureImage> image = DecodeTextureFile(path, why);
        int index = -1;
        if (image) {
            index = static_cast<int>(images_.size());
            images_.push_back(std::move(*image));
        } else {
            Warn(material, why);
        }
        imageOfPath_[path] = index;
        return index;
    }

    static void Warn(const Material& material, const std::string& why) {
        std::fprintf(stderr, "texture \"%s\" of material \"%s\" %s; its colour is drawn\n",
                     material.textureFile.c_str(), material.name, why.c_str());
    }

    std::string modelPath_;
    std::map<BatchKey, std::size_t> batchOfKey_;
    std::vector<BatchKey> keys_;               // by batch, in the order first used
    std::vector<std::vector<FaceRef>> faces_;  // by batch
    std::unordered_map<const Mesh*, std::vector<float>> smoothNormals_;
    std::unordered_map<const Material*, int> textureOfMaterial_;
    std::map<std::string, int> imageOfPath_;
    std::vector<TextureImage> images_;
};

}  // namespace

MaterialBatches BuildMaterialBatches(const Mesh* firstMesh, const std::string& modelPath) {
    BatchBuilder builder(modelPath);
    for (const Mesh* mesh = firstMesh; mesh != nullptr; mesh = mesh->next) {
        builder.AddMesh(*mesh);
    }
    return builder.Finish();
}
