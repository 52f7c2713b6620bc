#include "tools/make-sample/ModelEncoder.h"

#include <string>

#include "tools/chunkwriter/ChunkWriter.h"

std::vector<unsigned char> EncodeModel(const SampleScene& scene, float masterScale, float viewX,
                                       float viewY) {
    ChunkWriter writer;
    writer.BeginModel(3);
    writer.MasterScale(masterScale);
    for (const SceneMaterial& material : scene.materials()) {
        writer.Material(material.name, material.red, material.green, material.blue);
    }
    for (const SceneObject* object : scene.DrawingOrder(viewX, viewY)) {
        const auto& parts = object->mesh.parts();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string name =
                i == 0 ? object->name : object->name + "#" + std::to_string(i + 1);
            writer.MeshObject({name, parts[i].xyz, parts[i].corners, {object->material}});
        }
    }
    writer.EndModel();
    return writer.bytes();
}
