// Writes the textured sample as a 3DS chunk stream, laid out as EncodeModel lays out the plain
// one: each material with its transparency, two-sidedness and texture map; each mesh with its
// mapping coordinates, a material group per material and its smoothing groups.
#pragma once

#include <vector>

#include "tools/make-sample/TexturedScene.h"

std::vector<unsigned char> EncodeTexturedModel(const TexturedScene& scene, float masterScale);
