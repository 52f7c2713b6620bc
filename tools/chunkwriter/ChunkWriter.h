// Builds 3DS chunk streams in memory: the sample-scene generator writes its model with it, and
// the tests build every model file they read with it.
//
//   ChunkWriter w;
//   w.BeginModel();         // the main chunk and the editor chunk in it
//   w.MasterScale(2.5f);
//   w.MeshObject({"Box", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, {"Red"}});
//   w.EndModel();
//
// Begin() opens any chunk; End() patches its length, header included.
// Values are written little-endian. Damaged files are made with Header(), which writes a header
// with any length at all, and by cutting bytes() short.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "scene/ChunkIds.h"

// A named object holding a triangle mesh: its vertices (x, y, z each), its faces (three vertex
// indices each) and the materials its face list names, each for every face.
struct MeshObjectSpec {
    std::string name;
    std::vector<float> xyz;
    std::vector<std::uint16_t> abc;
    std::vector<std::string> groups;
    std::uint16_t faceFlags = 0;  // the flags word of every face
    // Material groups for some faces each, after `groups`.
    std::vector<std::pair<std::string, std::vector<std::uint16_t>>> faceGroups = {};
    std::vector<float> uv = {};                 // mapping coordinates (0x4140) after the vertices
    std::vector<std::uint32_t> smoothing = {};  // smoothing groups (0x4150) in the face list
};

class ChunkWriter {
public:
    void Begin(std::uint16_t id) {
        open_.push_back(bytes_.size());
        U16(id);
        U32(0);  // patched by End()
    }

    void End() {
        const std::size_t start = open_.back();
        open_.pop_back();
        const std::uint32_t length = static_cast<std::uint32_t>(bytes_.size() - start);
        for (int i = 0; i < 4; ++i) {
            bytes_[start + 2 + i] = static_cast<unsigned char>(length >> (8 * i));
        }
    }

    // A header with the given length field, whatever follows.
    void Header(std::uint16_t id, std::int32_t length) {
        U16(id);
        U32(static_cast<std::uint32_t>(length));
    }

    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            U8(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void Float(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    // The bytes of `text` and a terminating zero.
    void String(const std::string& text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        U8(0);
    }
    void Bytes(const std::vector<unsigned char>& data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }

    // --- Whole chunks of the model format ---
    void MasterScale(float scale) {
        Begin(chunk::kMasterScale);
        Float(scale);
        End();
    }
    // A vertex list (0x4110) of xyz triples.
    void VertexList(const std::vector<float>& xyz) {
        Begin(chunk::kVertexList);
        U16(static_cast<std::uint16_t>(xyz.size() / 3));
        for (float value : xyz) {
            Float(value);
        }
        End();
    }
    // The face count and records of a face list (0x4120); the caller opens and closes the
    // chunk so that material groups can follow inside it.
    void FaceRecords(const std::vector<std::uint16_t>& abc, std::uint16_t flags = 0) {
        U16(static_cast<std::uint16_t>(abc.size() / 3));
        for (std::size_t i = 0; i + 2 < abc.size(); i += 3) {
            U16(abc[i]);
            U16(abc[i + 1]);
            U16(abc[i + 2]);
            U16(flags);
        }
    }
    // A material group (0x4130) naming `material` for the given faces.
    void MaterialGroup(const std::string& material, const std::vector<std::uint16_t>& faces) {
        Begin(chunk::kMaterialGroup);
        String(material);
        U16(static_cast<std::uint16_t>(faces.size()));
        for (std::uint16_t face : faces) {
            U16(face);
        }
        End();
    }
    // A material block (0xAFFF) with a name and a diffuse colour of 8-bit components.
    void Material(const std::string& name, std::uint8_t red, std::uint8_t green,
                  std::uint8_t blue) {
        BeginMaterial(name, red, green, blue);
        End();
    }
    // The same block left open for the parts below, closed by End().
    void BeginMaterial(const std::string& name, std::uint8_t red, std::uint8_t green,
                       std::uint8_t blue) {
        Begin(chunk::kMaterialBlock);
        Begin(chunk::kMaterialName);
        String(name);
        End();
        DiffuseColor(red, green, blue);
    }
    void DiffuseColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        Begin(chunk::kDiffuseColor);
        Begin(chunk::kColor24);
        U8(red);
        U8(green);
        U8(blue);
        End();
        End();
    }

    // A material's parts beyond its colour, each written inside an open material block.
    void Transparency(std::uint16_t percent) {
        Begin(chunk::kTransparency);
        Begin(chunk::kPercentInt);
        U16(percent);
        End();
        End();
    }
    void TwoSided() {
        Begin(chunk::kTwoSided);
        End();
    }
    // Diffuse texture map 1 with its file name; scale and offset only when not 1 and 0.
    void TextureMap(const std::string& fileName, float uScale = 1, float vScale = 1,
                    float uOffset = 0, float vOffset = 0) {
        Begin(chunk::kTextureMap);
        Begin(chunk::kPercentInt);
        U16(100);
        End();
        Begin(chunk::kMapFileName);
        String(fileName);
        End();
        const std::pair<std::uint16_t, float> parameters[] = {{chunk::kMapUScale, uScale},
                                                              {chunk::kMapVScale, vScale},
                                                              {chunk::kMapUOffset, uOffset},
                                                              {chunk::kMapVOffset, vOffset}};
        for (const auto& [id, value] : parameters) {
            if (value != (id == chunk::kMapUScale || id == chunk::kMapVScale ? 1.0f : 0.0f)) {
                Begin(id);
                Float(value);
                End();
            }
        }
        End();
    }
    // Inside an open triangle mesh: u, v per vertex; one smoothing mask per face.
    void MappingCoords(const std::vector<float>& uv) {
        Begin(chunk::kMappingCoords);
        U16(static_cast<std::uint16_t>(uv.size() / 2));
        for (float value : uv) {
            Float(value);
        }
        End();
    }
    void SmoothingGroups(const std::vector<std::uint32_t>& masks) {
        Begin(chunk::kSmoothingGroups);
        for (std::uint32_t mask : masks) {
            U32(mask);
        }
        End();
    }

    // The main chunk and, inside it, the editor chunk that holds the model. With a version,
    // each starts with its version chunk, as modelling programs write them.
    void BeginModel(std::uint32_t version = 0) {
        Begin(chunk::kMain);
        if (version != 0) {
            Begin(chunk::kVersion);
            U32(version);
            End();
        }
        Begin(chunk::kEditor);
        if (version != 0) {
            Begin(chunk::kMeshVersion);
            U32(version);
            End();
        }
    }
    void EndModel() {
        End();
        End();
    }
    // A named object (0x4000) whose first sub-chunk is its triangle mesh (0x4100), with the
    // vertex list before the face list. Without vertices or faces that list is left out.
    void MeshObject(const MeshObjectSpec& mesh) {
        Begin(chunk::kNamedObject);
        String(mesh.name);
        Begin(chunk::kTriMesh);
        if (!mesh.xyz.empty()) {
            VertexList(mesh.xyz);
        }
        if (!mesh.uv.empty()) {
            MappingCoords(mesh.uv);
        }
        if (!mesh.abc.empty()) {
            Begin(chunk::kFaceList);
            FaceRecords(mesh.abc, mesh.faceFlags);
            std::vector<std::uint16_t> allFaces(mesh.abc.size() / 3);
            for (std::size_t i = 0; i < allFaces.size(); ++i) {
                allFaces[i] = static_cast<std::uint16_t>(i);
            }
            for (const std::string& group : mesh.groups) {
                MaterialGroup(group, allFaces);
            }
            for (const auto& [material, faces] : mesh.faceGroups) {
                MaterialGroup(material, faces);
            }
            if (!mesh.smoothing.empty()) {
                SmoothingGroups(mesh.smoothing);
            }
            End();
        }
        End();
        End();
    }

    // A named object whose camera chunk (0x4700) holds `values`: the position and the target,
    // then the bank angle and the lens; fewer make a damaged camera.
    void CameraObject(const std::string& name, const std::vector<float>& values) {
        Begin(chunk::kNamedObject);
        String(name);
        Begin(chunk::kCamera);
        for (float value : values) {
            Float(value);
        }
        End();
        End();
    }

    const std::vector<unsigned char>& bytes() const { return bytes_; }
    std::vector<unsigned char>& bytes() { return bytes_; }

    bool WriteFile(const std::string& path) const {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) {
            return false;
        }
        const bool written = std::fwrite(bytes_.data(), 1, bytes_.size(), out) == bytes_.size();
        return std::fclose(out) == 0 && written;
    }

private:
    std::vector<unsigned char> bytes_;
    std::vector<std::size_t> open_;
};
