// Writes the sample scene as a 3DS chunk stream: the main chunk holding a version, and the
// editor chunk holding a mesh version, the master scale, every material and then every object.
// Materials come first because a mesh can only name a material read before it.
#pragma once

#include <vector>

#include "tools/make-sample/SampleScene.h"

// Objects are written in the scene's drawing order for the viewpoint; an object of more than
// one part becomes several, the later ones named with a suffix.
std::vector<unsigned char> EncodeModel(const SampleScene& scene, float masterScale, float viewX,
                                       float viewY);
