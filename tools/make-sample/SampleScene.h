// The sample model before it is encoded: its materials and its named objects.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "tools/make-sample/MeshBuilder.h"

struct SceneMaterial {
    std::string name;
    std::uint8_t red, green, blue;
};

struct SceneObject {
    std::string name;
    std::string material;
    bool ground;  // lies under everything else
    MeshBuilder mesh;
};

class SampleScene {
public:
    void AddMaterial(const std::string& name, std::uint8_t red, std::uint8_t green,
                     std::uint8_t blue);

    // The object of this name, created with `material` on first use. The reference stays valid
    // while objects are added.
    MeshBuilder& Object(const std::string& name, const std::string& material);
    // The same for a piece of the ground plane.
    MeshBuilder& GroundObject(const std::string& name, const std::string& material);

    const std::vector<SceneMaterial>& materials() const { return materials_; }
    const std::deque<SceneObject>& objects() const { return objects_; }
    std::size_t FaceCount() const;

    // The objects in the order they should be drawn: nearest to `viewpoint` first, the ground
    // last. Where depth values tie (far away, with a 16-bit depth buffer) the surface drawn
    // first stays, so this keeps near things in front of far ones and everything above the
    // ground. Empty objects are left out.
    std::vector<const SceneObject*> DrawingOrder(float viewX, float viewY) const;

private:
    MeshBuilder& FindOrAdd(const std::string& name, const std::string& material, bool ground);

    std::vector<SceneMaterial> materials_;
    std::deque<SceneObject> objects_;
};
