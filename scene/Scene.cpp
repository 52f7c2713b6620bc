#include "scene/Scene.h"

#include <algorithm>

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

Scene::HeldModel Scene::SetModelAside() {
    HeldModel held;
    held.meshHead = g_meshHead;
    held.materials = materials;
    held.cameras = std::move(cameras);
    held.problems = std::move(problems);
    held.modelScale = modelScale;
    held.loaded = loaded;
    held.modelPath = modelPath_;
    held.newestMaterialByName = std::move(newestMaterialByName_);
    std::copy(eye, eye + 3, held.eye);
    std::copy(target, target + 3, held.target);
    held.yaw = yaw;
    held.yawDegrees = yawDegrees;
    held.pitch = pitch;
    held.heightOffset = heightOffset;
    held.bytes = bytes_;
    bytes_ = {};
    StartEmptyModel(nullptr);
    return held;
}

void Scene::TakeModelBack(HeldModel held) {
    ReleaseModel();
    bytes_ = held.bytes;
    g_meshHead = held.meshHead;
    g_meshCursor = nullptr;
    materials = held.materials;
    cameras = std::move(held.cameras);
    problems = std::move(held.problems);
    modelScale = held.modelScale;
    loaded = held.loaded;
    modelPath_ = std::move(held.modelPath);
    newestMaterialByName_ = std::move(held.newestMaterialByName);
    std::copy(held.eye, held.eye + 3, eye);
    std::copy(held.target, held.target + 3, target);
    yaw = held.yaw;
    yawDegrees = held.yawDegrees;
    pitch = held.pitch;
    heightOffset = held.heightOffset;
}

void Scene::Release(HeldModel held) {
    // ReleaseModel takes the lists the scene holds: it is given these for the moment.
    Mesh* const shownHead = g_meshHead;
    Material* const shownMaterials = materials;
    unsigned char* const shownChunk = chunkData;
    const platform::FileBytes shownBytes = bytes_;
    g_meshHead = held.meshHead;
    materials = held.materials;
    bytes_ = held.bytes;
    ReleaseModel();
    g_meshHead = shownHead;
    materials = shownMaterials;
    chunkData = shownChunk;
    bytes_ = shownBytes;
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
        ReleaseFaces(*g_meshCursor);  // the vertices lie in the file's bytes
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

    chunkData = nullptr;
    platform::DropFileBytes(bytes_);
}

bool Scene::InFileBytes(const void* buffer) const {
    const auto at = reinterpret_cast<std::uintptr_t>(buffer);
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes_.data);
    return bytes_.data != nullptr && at >= begin && at - begin < bytes_.size;
}

void Scene::ReleaseFaces(Mesh& mesh) {
    if (!InFileBytes(mesh.faces)) {
        delete[] mesh.faces;
    }
    mesh.faces = nullptr;
    delete[] mesh.normals;
    mesh.normals = nullptr;
}

void Scene::ReleaseGeometry(const Mesh& loaded) {
    // The scene owns its meshes: the node is its own to empty.
    Mesh& mesh = const_cast<Mesh&>(loaded);
    const auto releaseInFile = [this](const void* begin, std::size_t bytes) {
        if (InFileBytes(begin)) {
            const std::size_t at =
                static_cast<std::size_t>(static_cast<const unsigned char*>(begin) - bytes_.data);
            platform::ReleaseFilePages(bytes_, at, at + bytes);
        }
    };
    if (mesh.vertices != nullptr) {
        releaseInFile(mesh.vertices - 2, 2 + 12 * static_cast<std::size_t>(mesh.vertexCount));
    }
    if (mesh.faces != nullptr) {
        releaseInFile(mesh.faces, 2 + 8 * static_cast<std::size_t>(FaceCount(mesh)));
    }
    ReleaseFaces(mesh);
    mesh.vertices = nullptr;
    mesh.vertexCount = 0;
    mesh.faceMaterials = FaceMaterials();
    mesh.textureCoords = std::vector<float>();
    mesh.smoothingGroups = std::vector<std::uint32_t>();
}
