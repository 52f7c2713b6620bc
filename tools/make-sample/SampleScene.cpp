#include "tools/make-sample/SampleScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

float NearestDistance(const SceneObject& object, float viewX, float viewY) {
    float nearest = std::numeric_limits<float>::max();
    for (const MeshBuilder::Part& part : object.mesh.parts()) {
        for (std::size_t i = 0; i + 2 < part.xyz.size(); i += 3) {
            nearest = std::min(nearest, std::hypot(part.xyz[i] - viewX, part.xyz[i + 1] - viewY));
        }
    }
    return nearest;
}

}  // namespace

void SampleScene::AddMaterial(const std::string& name, std::uint8_t red, std::uint8_t green,
                              std::uint8_t blue) {
    materials_.push_back({name, red, green, blue});
}

MeshBuilder& SampleScene::Object(const std::string& name, const std::string& material) {
    return FindOrAdd(name, material, false);
}

MeshBuilder& SampleScene::GroundObject(const std::string& name, const std::string& material) {
    return FindOrAdd(name, material, true);
}

std::size_t SampleScene::FaceCount() const {
    std::size_t faces = 0;
    for (const SceneObject& object : objects_) {
        faces += object.mesh.FaceCount();
    }
    return faces;
}

std::vector<const SceneObject*> SampleScene::DrawingOrder(float viewX, float viewY) const {
    struct Entry {
        const SceneObject* object;
        float distance;
    };
    std::vector<Entry> entries;
    for (const SceneObject& object : objects_) {
        if (object.mesh.FaceCount() > 0) {
            entries.push_back({&object, NearestDistance(object, viewX, viewY)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.object->ground != b.object->ground) {
            return b.object->ground;
        }
        return a.distance < b.distance;
    });
    std::vector<const SceneObject*> order;
    for (const Entry& entry : entries) {
        order.push_back(entry.object);
    }
    return order;
}

MeshBuilder& SampleScene::FindOrAdd(const std::string& name, const std::string& material,
                                    bool ground) {
    for (SceneObject& object : objects_) {
        if (object.name == name) {
            return object.mesh;
        }
    }
    objects_.push_back({name, material, ground, MeshBuilder()});
    return objects_.back().mesh;
}
