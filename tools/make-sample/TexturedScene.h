// The textured sample: the sample town with its materials dressed (TexturedPalette.h), its
// objects joined into one mesh per district with a material per face, mapping coordinates for
// every textured face, smoothing groups on curved things, and a banner across the avenue.
#pragma once

#include <string>
#include <vector>

#include "tools/make-sample/MappedMeshBuilder.h"
#include "tools/make-sample/SampleScene.h"
#include "tools/make-sample/TexturedPalette.h"

struct MappedObject {
    std::string name;
    MappedMeshBuilder mesh;
};

struct TexturedScene {
    std::vector<TexturedMaterial> materials;
    std::vector<MappedObject> objects;  // in drawing order, as SampleScene::DrawingOrder
    std::size_t FaceCount() const;
};

// The plain scene's objects in its drawing order for the viewpoint, each joining the mesh of its
// district: the part of its name before the first '.' ("Block03" of "Block03.Brick"), or
// "Ground" for every piece of the ground.
TexturedScene BuildTexturedScene(const SampleScene& plain, float viewX, float viewY);
