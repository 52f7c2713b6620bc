#include "tools/make-sample/TexturedScene.h"

#include <cmath>

#include "tools/make-sample/Palette.h"
#include "tools/make-sample/Shapes.h"

namespace {

Vec3 Normal(const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 u = {b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec3 v = {c.x - b.x, c.y - b.y, c.z - b.z};
    const Vec3 n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return length > 0 ? Vec3{n.x / length, n.y / length, n.z / length} : Vec3{0, 0, 1};
}

const TexturedMaterial* Find(const std::vector<TexturedMaterial>& materials,
                             const std::string& name) {
    for (const TexturedMaterial& material : materials) {
        if (material.colour.name == name) {
            return &material;
        }
    }
    return nullptr;
}

// A face's mapping coordinates for a map repeating every `tileSize` units: the corners projected
// onto the axis plane the face is most nearly parallel to.
std::array<MappedCorner, 3> BoxMapped(const Vec3& a, const Vec3& b, const Vec3& c, float tileSize) {
    const Vec3 n = Normal(a, b, c);
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    const auto map = [&](const Vec3& p) {
        // Walls run u along the ground and v up them.
        if (az >= ax && az >= ay) {
            return MappedCorner{p, p.x / tileSize, p.y / tileSize};
        }
        return MappedCorner{p, (ax >= ay ? p.y : p.x) / tileSize, p.z / tileSize};
    };
    return {map(a), map(b), map(c)};
}

// Every face of `mesh` into `target` in `material`: box-mapped when it has a map; smoothed when
// it is smooth and the face slopes (flat tops and bottoms keep their edges).
void AddFaces(const MeshBuilder& mesh, const TexturedMaterial& material,
              MappedMeshBuilder& target) {
    for (const MeshBuilder::Part& part : mesh.parts()) {
        const auto vertex = [&](std::size_t corner) {
            const float* p = &part.xyz[3 * part.corners[corner]];
            return Vec3{p[0], p[1], p[2]};
        };
        for (std::size_t i = 0; i + 2 < part.corners.size(); i += 3) {
            const Vec3 a = vertex(i), b = vertex(i + 1), c = vertex(i + 2);
            // Unmapped faces all share (0, 0), so their vertices stay shared.
            const auto corners =
                material.pattern ? BoxMapped(a, b, c, material.tileSize)
                                 : std::array<MappedCorner, 3>{{{a, 0, 0}, {b, 0, 0}, {c, 0, 0}}};
            const bool sloping = std::fabs(Normal(a, b, c).z) < 0.999f;
            target.Triangle(corners, material.colour.name, material.smooth && sloping ? 1u : 0u);
        }
    }
}

// A banner on two poles across the main avenue, ahead of the start. Its cloth is one quad facing
// away from the start: seen from there, only a two-sided material lights its back.
MappedObject Banner(const std::vector<TexturedMaterial>& materials) {
    constexpr float kY = -22, kHalfWidth = 9, kBottom = 6, kTop = 7.6f;
    MeshBuilder poles;
    for (float x : {-kHalfWidth, kHalfWidth}) {
        AddBox(poles, {x - 0.1f, kY - 0.1f, 0}, {x + 0.1f, kY + 0.1f, kTop + 0.3f});
    }
    MappedObject banner{"Banner", {}};
    AddFaces(poles, *Find(materials, material::kSteel), banner.mesh);
    // Counter-clockwise seen from -y; the image's top row along the top edge.
    const MappedCorner cloth[4] = {{{-kHalfWidth, kY, kBottom}, 0, 1},
                                   {{kHalfWidth, kY, kBottom}, 1, 1},
                                   {{kHalfWidth, kY, kTop}, 1, 0},
                                   {{-kHalfWidth, kY, kTop}, 0, 0}};
    banner.mesh.Triangle({cloth[0], cloth[1], cloth[2]}, material::kBanner, 0);
    banner.mesh.Triangle({cloth[0], cloth[2], cloth[3]}, material::kBanner, 0);
    return banner;
}

std::string DistrictOf(const SceneObject& object) {
    return object.ground ? "Ground" : object.name.substr(0, object.name.find('.'));
}

}  // namespace

std::size_t TexturedScene::FaceCount() const {
    std::size_t faces = 0;
    for (const MappedObject& object : objects) {
        faces += object.mesh.FaceCount();
    }
    return faces;
}

TexturedScene BuildTexturedScene(const SampleScene& plain, float viewX, float viewY) {
    TexturedScene scene{DressPalette(plain.materials()), {}};
    // The banner stands near the start, so it comes first.
    scene.objects.push_back(Banner(scene.materials));
    for (const SceneObject* object : plain.DrawingOrder(viewX, viewY)) {
        const std::string district = DistrictOf(*object);
        MappedObject* target = nullptr;
        for (MappedObject& candidate : scene.objects) {
            target = candidate.name == district ? &candidate : target;
        }
        if (target == nullptr) {
            scene.objects.push_back({district, {}});
            target = &scene.objects.back();
        }
        const TexturedMaterial* material = Find(scene.materials, object->material);
        if (material != nullptr) {
            AddFaces(object->mesh, *material, target->mesh);
        }
    }
    return scene;
}
