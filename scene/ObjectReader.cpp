// Placeholder until the reader lands.
#include "scene/Scene.h"

void Scene::ReadNamedObject() {}
void Scene::ReadTriMesh() {}
void Scene::ReadMaterial() {}
