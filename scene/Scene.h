// The scene: the first-person camera, the model read from a 3DS file, and its drawing.
// Exactly one exists, as the member `scene` of the SceneRenderer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "scene/Model.h"

// Something a damaged model file made the reader tolerate, for the inspector to show.
struct ReadProblem {
    std::uint16_t chunkId;
    long offset;  // file offset of the chunk's header
    std::string what;
};

class Scene {
public:
    // Sets the start pose, creates the empty lists, loads `modelPath` and moves the cursor to
    // the screen point (400, 300).
    explicit Scene(const char* modelPath = "kelm.3ds");
    // Releases the model; issues no GL calls.
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Once per frame: reads the mouse and keys, moves the camera, re-centres the cursor and
    // multiplies the view onto the model-view matrix. Returns 1.
    int UpdateCamera();
    // Draws the loaded model under the current matrix, light and fog; nothing while not loaded.
    void DrawModel();

    // Reading. Each returns with the stream just past the last byte it consumed.
    int LoadModel();        // 1 when read to the end, 0 when the file cannot be opened
    int ReadChunkHeader();  // 1 when all 6 header bytes were read
    void ReadChunkBody();
    void ReadString(char* buffer);  // buffer holds kNameCapacity bytes
    void SkipChunk();
    void ReadNamedObject();
    void ReadTriMesh();
    void ReadMaterial();

    // Reading state.
    std::FILE* file = nullptr;
    unsigned char* chunkData = nullptr;  // body of the last chunk read whole
    std::int32_t chunkLength = 0;        // body length of the current chunk, less what was taken
    std::uint16_t chunkId = 0;
    std::int32_t bytesRead = 0;  // file bytes consumed since the file was opened

    Material* materials = nullptr;  // sentinel head of the material list

    // Camera. World: ground in the x-y plane, z up; a heading of 0 looks along +y.
    double eye[3] = {0.0, 0.0, 0.0};
    double target[3] = {0.0, 0.0, 0.0};
    float yaw = 0.0f;         // radians, recomputed from yawDegrees every frame
    float yawDegrees = 0.0f;  // never wrapped
    float pitch = 0.0f;       // height of the look-at point over eye height, -200..200
    float heightOffset = 0.0f;

    int loaded = 0;
    float modelScale = 1.0f;

    // What the reader tolerated in a damaged file, in the order met.
    std::vector<ReadProblem> problems;

private:
    // Reading helpers. Every walk ends: each turn of a loop consumes a whole header or leaves.
    void ReadVertexList(Mesh& mesh);
    void ReadFaceList(Mesh& mesh);
    // False when the mesh had to be left early (the file ended or a header was unusable).
    bool ReadMaterialGroups(Mesh& mesh, std::int64_t groupEnd);
    void MatchMaterialGroup(Mesh& mesh);
    void TakeColor(Material* material);
    // Moves the stream forward to `end`, the end of a chunk whose reading stops early (a header
    // inside it cannot be stepped over, or a body holds less than its count says); never moves
    // backwards and never past the end of the file.
    void LeaveChunkAt(std::int64_t end);
    std::int64_t BytesLeft() const { return fileSize_ - bytesRead; }
    // Records what the current chunk made the reader tolerate.
    void Tolerate(const std::string& what);

    const char* modelPath_;
    long fileSize_ = 0;    // bytes in the open model file; no read or buffer goes past it
    long chunkStart_ = 0;  // file offset of the header read last
    // Materials by ASCII-lower-cased name, the newest of each name: a material group finds its
    // material without walking the list, so many groups and materials cannot make loading slow.
    std::unordered_map<std::string, Material*> newestMaterialByName_;
};
