#include "tools/make-sample/TexturedModelEncoder.h"

#include <string>

#include "tools/chunkwriter/ChunkWriter.h"

namespace {

void WriteMaterial(ChunkWriter& writer, const TexturedMaterial& material) {
    writer.Begin(chunk::kMaterialBlock);
    writer.Begin(chunk::kMaterialName);
    writer.String(material.colour.name);
    writer.End();
    writer.DiffuseColor(material.colour.red, material.colour.green, material.colour.blue);
    if (material.transparency != 0) {
        writer.Transparency(material.transparency);
    }
    if (material.twoSided) {
        writer.TwoSided();
    }
    if (material.pattern) {
        writer.TextureMap(material.mapName, material.uScale, material.vScale, material.uOffset,
                          material.vOffset);
    }
    writer.End();
}

MeshObjectSpec MeshOf(const std::string& name, const MappedMeshBuilder::Part& part,
                      const std::vector<std::string>& materials) {
    MeshObjectSpec mesh{name, part.xyz, part.corners, {}};
    mesh.uv = part.uv;
    for (std::size_t m = 0; m < materials.size(); ++m) {
        std::vector<std::uint16_t> faces;
        for (std::size_t face = 0; face < part.faceMaterials.size(); ++face) {
            if (part.faceMaterials[face] == m) {
                faces.push_back(static_cast<std::uint16_t>(face));
            }
        }
        if (!faces.empty()) {
            mesh.faceGroups.emplace_back(materials[m], faces);
        }
    }
    for (std::uint32_t mask : part.smoothing) {
        if (mask != 0) {
            mesh.smoothing = part.smoothing;
            break;
        }
    }
    return mesh;
}

}  // namespace

std::vector<unsigned char> EncodeTexturedModel(const TexturedScene& scene, float masterScale) {
    ChunkWriter writer;
    writer.BeginModel(3);
    writer.MasterScale(masterScale);
    for (const TexturedMaterial& material : scene.materials) {
        WriteMaterial(writer, material);
    }
    for (const MappedObject& object : scene.objects) {
        const auto& parts = object.mesh.parts();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string name =
                i == 0 ? object.name : object.name + "#" + std::to_string(i + 1);
            writer.MeshObject(MeshOf(name, parts[i], object.mesh.materials()));
        }
    }
    writer.EndModel();
    return writer.bytes();
}
