// Placeholder until the reader lands.
#include "scene/Scene.h"

int Scene::LoadModel() {
    loaded = 0;
    return 0;
}
int Scene::ReadChunkHeader() { return 0; }
void Scene::ReadChunkBody() {}
void Scene::ReadString(char* buffer) { buffer[0] = '\0'; }
void Scene::SkipChunk() {}
