#include "scene/Scene.h"

#include "platform/Platform.h"

Scene::Scene(const char* modelPath) {
    StartEmptyModel(modelPath);
    if (modelPath != nullptr) {
        LoadModel();
    }

    // Before the window exists the pointer goes to the centre of the full-screen window; the
    // first frame with the focus moves it to the real window's centre should that lie elsewhere.
    pointerHomeX = 400;
    pointerHomeY = 300;
    platform::SetCursorScreenPosition(pointerHomeX, pointerHomeY);
    pointerPlaced = true;
}

Scene::~Scene() {
    ReleaseModel();
}

void Scene::SetStartPose() {
    StandAt(StartPose());
}

void Scene::StandAt(const StartPose& pose) {
    eye[0] = pose.eyeX;
    eye[1] = pose.eyeY;
    heightOffset = pose.heightOffset;
    yawDegrees = pose.yawDegrees;
    pitch = pose.pitch;
}

void Scene::StartEmptyModel(const char* modelPath) {
    modelPath_ = modelPath != nullptr ? modelPath : "";
    chunkData = nullptr;
    chunkLength = 0;
    chunkId = 0;
    modelScale = 1.0f;
    bytesRead = 0;
    loaded = 0;
    problems.clear();
    cameras.clear();
    newestMaterialByName_.clear();

    materials = NewEmptyMaterial();

    SetStartPose();

    g_meshHead = NewEmptyMesh();
    g_meshCursor = g_meshHead;
}

void Scene::OpenModel(const char* modelPath) {
    ReleaseModel();
    StartEmptyModel(modelPath);
    LoadModel();
}

void Scene::ReleaseModel() {
    g_meshCursor = g_meshHead->next;
    while (g_meshCursor != nullptr) {
        g_meshHead->next = g_meshCursor->next;
        delete[] g_meshCursor->faces;
        if (g_meshCursor->vertices != nullptr) {
            delete[](g_meshCursor->vertices - 2);  // the buffer starts before the count
        }
        delete[] g_meshCursor->normals;
        delete g_meshCursor;
        g_meshCursor = g_meshHead->next;
    }
    delete g_meshHead;
    g_meshHead = nullptr;
    g_meshCursor = nullptr;

    while (materials->next != nullptr) {
        Material* first = materials->next;
        materials->next = first->next;
        delete first;
    }
    delete materials;
    materials = nullptr;

    delete[] chunkData;
    chunkData = nullptr;
}
