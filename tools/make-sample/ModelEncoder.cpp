#include "tools/make-sample/ModelEncoder.h"

#include <numeric>
#include <string>

#include "scene/ChunkIds.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

void WriteObject(ChunkWriter& writer, const std::string& name, const std::string& material,
                 const MeshBuilder::Part& part) {
    writer.Begin(chunk::kNamedObject);
    writer.String(name);
    // The triangle mesh must be the object's first sub-chunk, and its vertex list must come
    // before its face list.
    writer.Begin(chunk::kTriMesh);
    writer.VertexList(part.xyz);
    writer.Begin(chunk::kFaceList);
    writer.FaceRecords(part.corners);
    std::vector<std::uint16_t> faces(part.corners.size() / 3);
    std::iota(faces.begin(), faces.end(), std::uint16_t{0});
    writer.MaterialGroup(material, faces);
    writer.End();
    writer.End();
    writer.End();
}

}  // namespace

std::vector<unsigned char> EncodeModel(const SampleScene& scene, float masterScale, float viewX,
                                       float viewY) {
    ChunkWriter writer;
    writer.Begin(chunk::kMain);
    writer.Begin(chunk::kVersion);
    writer.U32(3);
    writer.End();
    writer.Begin(chunk::kEditor);
    writer.Begin(chunk::kMeshVersion);
    writer.U32(3);
    writer.End();
    writer.MasterScale(masterScale);
    for (const SceneMaterial& material : scene.materials()) {
        writer.Material(material.name, material.red, material.green, material.blue);
    }
    for (const SceneObject* object : scene.DrawingOrder(viewX, viewY)) {
        const auto& parts = object->mesh.parts();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string name =
                i == 0 ? object->name : object->name + "#" + std::to_string(i + 1);
            WriteObject(writer, name, object->material, parts[i]);
        }
    }
    writer.End();
    writer.End();
    return writer.bytes();
}
